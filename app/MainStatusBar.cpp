#include "app/MainStatusBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <algorithm>

#include "app/Pictures.h"

namespace {

// Every text the link, the pages and the settings windows put into panels 0 to 3 and the
// fixed text of panel 7: each panel is as wide as its widest text (at least its design
// width), so that none is cut at the default window size.
const char* const kPanel0Texts[] = {
    "连接：正在连接",
    "Searching port",
    "Connection fails",
    "Communication port is open",
    "Successful connection",
    "Connect instrument fail",
    "Instrument is connected",
    "Is requesting the data!",
    "Communication failure, re-connect!",
    "Communications to complete",
    "Status: synchronization with the instrument",
};
const char* const kPanel1Texts[] = {"测试状态：停止", "Bandwidth: narrowband",
                                    "Bandwidth: Broadband"};
const char* const kPanel2Texts[] = {
    "测量网络：  ",
    "Wiring: Single-Phase",
    "Wiring: Three-phase Three-wire",
    "Wiring: Three-phase Three-wire(3VT3CT)",
    "Wiring: Three-phase Four-wire",
    "Wiring:Single-phase(1P2W)",
    "Wiring:3P3W)",
    "Wiring:3P3W(3VT3CT)",
    "Wiring:3P4W",
};
const char* const kPanel3Texts[] = {"Communication"};
const char* const kPanel7Texts[] = {"Professional electrical measuring"};

// The label's indent beside a frame: half an "x".
int Indent(const QFontMetrics& metrics) {
  return (metrics.horizontalAdvance('x') + 1) / 2;
}

// Room a sunken one-pixel panel needs around its text: the frame, the indent and a pixel.
int PanelWidthFor(const QFontMetrics& metrics, const QString& text) {
  return metrics.horizontalAdvance(text) + 2 + Indent(metrics) + 1;
}

template <size_t N>
int WidestText(const QFontMetrics& metrics, const char* const (&texts)[N], int atLeast) {
  int width = atLeast;
  for (const char* text : texts) {
    width = std::max(width, PanelWidthFor(metrics, QString::fromUtf8(text)));
  }
  return width;
}

QLabel* TextPanel(const QString& text, int width, Qt::Alignment alignment, const QFont& font) {
  auto* label = new QLabel(text);
  label->setFont(font);
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
  // A small narrow font keeps the panels' texts whole within the default window width.
  QFont small("Liberation Sans Narrow");
  small.setFamilies({"Liberation Sans Narrow", "DejaVu Sans Condensed", "Liberation Sans"});
  small.setPixelSize(11);
  setFont(small);
  const QFontMetrics metrics(small);
  auto* strip = new QWidget(this);
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);

  panels_[0] =
      TextPanel("连接：正在连接", WidestText(metrics, kPanel0Texts, 120), Qt::AlignLeft, small);
  panels_[1] =
      TextPanel("测试状态：停止", WidestText(metrics, kPanel1Texts, 100), Qt::AlignLeft, small);
  panels_[2] =
      TextPanel("测量网络：  ", WidestText(metrics, kPanel2Texts, 0), Qt::AlignLeft, small);
  panels_[3] =
      TextPanel("Communication", WidestText(metrics, kPanel3Texts, 70), Qt::AlignRight, small);
  ProgressBar1 = new QProgressBar;
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setRange(0, 50);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setFixedWidth(124);
  panels_[4] = ProgressBar1;
  auto* date = TextPanel("Date of test:", 0, Qt::AlignLeft, small);
  date->setMinimumWidth(50);
  date->installEventFilter(this);
  panels_[5] = date;
  auto* logo = TextPanel(QString(), 76, Qt::AlignRight, small);
  logo->setPixmap(LogoPicture(72, 18));
  logo->setCursor(Qt::PointingHandCursor);
  logo->installEventFilter(this);
  panels_[6] = logo;
  panels_[7] = TextPanel("Professional electrical measuring",
                         WidestText(metrics, kPanel7Texts, 120), Qt::AlignRight, small);

  for (int i = 0; i < kPanels; ++i) {
    row->addWidget(panels_[i], i == 5 ? 1 : 0);
    if (auto* label = qobject_cast<QLabel*>(panels_[i])) texts_[i] = label->text();
  }
  addWidget(strip, 1);
}

void MainStatusBar::SetPanelText(int panel, const QString& text) {
  if (panel < 0 || panel >= kPanels) return;
  auto* label = qobject_cast<QLabel*>(panels_[panel]);
  if (!label) return;
  texts_[panel] = text;
  ShowPanelText(label, text);
}

QString MainStatusBar::ShownPanelText(int panel) const {
  if (panel < 0 || panel >= kPanels) return {};
  auto* label = qobject_cast<QLabel*>(panels_[panel]);
  return label ? label->text() : QString();
}

void MainStatusBar::ShowPanelText(QLabel* label, const QString& text) {
  // A text wider than its panel (the date panel of a narrow window) is cut with an
  // ellipsis and shown whole as the tooltip.
  const QFontMetrics metrics(label->font());
  const int room = label->contentsRect().width() - Indent(metrics);
  const bool fits = room <= 0 || metrics.horizontalAdvance(text) <= room;
  label->setText(fits ? text : metrics.elidedText(text, Qt::ElideRight, room));
  label->setToolTip(fits ? QString() : text);
}

QString MainStatusBar::PanelText(int panel) const {
  if (panel < 0 || panel >= kPanels) return {};
  return qobject_cast<QLabel*>(panels_[panel]) ? texts_[panel] : QString();
}

int MainStatusBar::PanelWidth(int panel) const {
  return panel >= 0 && panel < kPanels ? panels_[panel]->width() : 0;
}

bool MainStatusBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == panels_[6] && event->type() == QEvent::MouseButtonRelease) {
    if (onLogoClicked) onLogoClicked();
    return true;
  }
  if (watched == panels_[5] && event->type() == QEvent::Resize) {
    ShowPanelText(static_cast<QLabel*>(panels_[5]), texts_[5]);
  }
  return QStatusBar::eventFilter(watched, event);
}
