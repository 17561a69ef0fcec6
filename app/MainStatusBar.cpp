#include "app/MainStatusBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>

#include "app/Pictures.h"

namespace {
QLabel* TextPanel(const QString& text, int width, Qt::Alignment alignment) {
  auto* label = new QLabel(text);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(alignment | Qt::AlignVCenter);
  label->setMinimumWidth(0);
  if (width > 0) label->setFixedWidth(width);
  return label;
}
}  // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName("StatusBar");
  setSizeGripEnabled(false);
  // The panel widths are fixed in pixels; a small font keeps their texts whole.
  QFont small("Liberation Sans");
  small.setPixelSize(11);
  setFont(small);
  auto* strip = new QWidget(this);
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);

  panels_[0] = TextPanel("连接：正在连接", 120, Qt::AlignLeft);
  panels_[1] = TextPanel("测试状态：停止", 100, Qt::AlignLeft);
  panels_[2] = TextPanel("测量网络：  ", 190, Qt::AlignLeft);
  panels_[3] = TextPanel("Communication", 70, Qt::AlignRight);
  ProgressBar1 = new QProgressBar;
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setRange(0, 50);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setFixedWidth(124);
  panels_[4] = ProgressBar1;
  auto* date = TextPanel("Date of test:", 0, Qt::AlignLeft);
  date->setMinimumWidth(50);
  panels_[5] = date;
  auto* logo = TextPanel(QString(), 76, Qt::AlignRight);
  logo->setPixmap(LogoPicture(72, 18));
  logo->setCursor(Qt::PointingHandCursor);
  logo->installEventFilter(this);
  panels_[6] = logo;
  panels_[7] = TextPanel("Professional electrical measuring", 120, Qt::AlignRight);

  for (int i = 0; i < kPanels; ++i) row->addWidget(panels_[i], i == 5 ? 1 : 0);
  addWidget(strip, 1);
}

void MainStatusBar::SetPanelText(int panel, const QString& text) {
  if (panel < 0 || panel >= kPanels) return;
  if (auto* label = qobject_cast<QLabel*>(panels_[panel])) label->setText(text);
}

QString MainStatusBar::PanelText(int panel) const {
  if (panel < 0 || panel >= kPanels) return {};
  auto* label = qobject_cast<QLabel*>(panels_[panel]);
  return label ? label->text() : QString();
}

int MainStatusBar::PanelWidth(int panel) const {
  return panel >= 0 && panel < kPanels ? panels_[panel]->width() : 0;
}

bool MainStatusBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == panels_[6] && event->type() == QEvent::MouseButtonRelease) {
    if (onLogoClicked) onLogoClicked();
    return true;
  }
  return QStatusBar::eventFilter(watched, event);
}
