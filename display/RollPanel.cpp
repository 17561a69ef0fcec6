#include "display/RollPanel.h"

#include <QLabel>
#include <QPalette>
#include <QToolButton>

#include "display/PlotDrawing.h"

RollPanel::RollPanel(const QString& caption, int width, int expandedHeight, QWidget* parent)
    : QFrame(parent), expandedHeight_(expandedHeight) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setAutoFillBackground(true);
  QPalette body = palette();
  body.setColor(QPalette::Window, QColor(236, 240, 246));
  body.setColor(QPalette::WindowText, QColor(64, 96, 140));
  setPalette(body);

  // The title bar: a plain coloured strip with the caption and the roll button.
  auto* bar = new QLabel(this);
  bar->setGeometry(1, 1, width - 2, kTitleHeight - 2);
  bar->setAutoFillBackground(true);
  QPalette barPalette = bar->palette();
  barPalette.setColor(QPalette::Window, QColor(64, 96, 140));
  bar->setPalette(barPalette);

  caption_ = new QLabel(caption, this);
  QFont font;
  font.setFamilies(PageFontFamilies());
  font.setPixelSize(11);
  font.setBold(true);
  caption_->setFont(font);
  QPalette captionPalette = caption_->palette();
  captionPalette.setColor(QPalette::WindowText, Qt::white);
  caption_->setPalette(captionPalette);
  caption_->setGeometry(6, 1, width - 30, kTitleHeight - 2);

  rollButton_ = new QToolButton(this);
  rollButton_->setAutoRaise(true);
  QPalette buttonPalette = rollButton_->palette();
  buttonPalette.setColor(QPalette::ButtonText, Qt::white);
  buttonPalette.setColor(QPalette::WindowText, Qt::white);
  rollButton_->setPalette(buttonPalette);
  rollButton_->setGeometry(width - 21, 2, 18, kTitleHeight - 4);
  connect(rollButton_, &QToolButton::clicked, this, &RollPanel::Toggle);

  resize(width, kTitleHeight);
  UpdateButton();
}

QString RollPanel::Caption() const {
  return caption_->text();
}

void RollPanel::SetExpanded(bool expanded) {
  if (expanded == expanded_) return;
  expanded_ = expanded;
  resize(width(), expanded_ ? expandedHeight_ : kTitleHeight);
  UpdateButton();
  emit ExpandedChanged(expanded_);
}

void RollPanel::UpdateButton() {
  rollButton_->setArrowType(expanded_ ? Qt::UpArrow : Qt::DownArrow);
  rollButton_->setToolTip(expanded_ ? "Roll up" : "Roll down");
}
