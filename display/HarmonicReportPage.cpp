#include "display/HarmonicReportPage.h"

#include <QPainter>

#include "display/PageWidgets.h"

namespace {

class TitleStripWidget : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    DrawHarmonicTitleStrip(painter, width());
  }
};

}  // namespace

void DrawHarmonicTitleStrip(QPainter& painter, int width) {
  painter.fillRect(QRect(0, 0, width, kHarmonicTitleHeight), QColor(0, 128, 128));
  painter.setPen(Qt::white);
  painter.drawText(QRect(3, 2, std::max(0, width - 3), kHarmonicTitleHeight - 2),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, "Harmonic Report ");
}

HarmonicReportPage::HarmonicReportPage(QWidget* parent) : QWidget(parent) {
  setObjectName("HarmonicReportPage");
  SetColours(this, kSkyBlue);
  TitleStrip = new TitleStripWidget(this);
  TitleStrip->setObjectName("HarmonicTitleStrip");
  StringGrid2 = new HarmonicGrid(this);
}

void HarmonicReportPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  TitleStrip->setGeometry(0, 0, width(), kHarmonicTitleHeight);
  StringGrid2->setGeometry(0, kHarmonicTitleHeight, width(),
                           std::max(0, height() - kHarmonicTitleHeight));
}
