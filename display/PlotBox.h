#pragma once
// A paint box of a plot: on every repaint it copies PlotRect of its stored image and draws
// nothing else. A click is reported (the harmonic boxes toggle their selection panel).

#include <QWidget>

class QImage;

class PlotBox : public QWidget {
  Q_OBJECT

 public:
  explicit PlotBox(QWidget* parent = nullptr);

  // The stored image shown; nullptr shows nothing. The image must outlive the box.
  void SetImage(const QImage* image);
  const QImage* Image() const { return image_; }

 signals:
  void Clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const QImage* image_ = nullptr;
};
