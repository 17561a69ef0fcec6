#include "display/RollPanel.h"

#include <QLabel>
#include <QPalette>
#include <QToolButton>

#include "display/PageWidgets.h"

RollPanel::RollPanel(const QString& caption, int width, int expandedHeight, QWidget* parent)
    : QFrame(parent), expandedHeight_(expandedHeight) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  SetColours(this, QColor(236, 240, 246), QColor(64, 96, 140));

  // The title bar: a plain coloured strip with the caption and the roll button.
  auto* bar = new QLabel(this);
  bar->setGeometry(1, 1, width - 2, kTitleHeight - 2);
  SetColours(bar, QColor(64, 96, 140));

  caption_ = new QLabel(caption, this);
  caption_->setFont(PageFont(11, true));
  SetColours(caption_, QColor(), Qt::white);
  caption_->setGeometry(6, 1, width - 30, kTitleHeight - 2);

  rollButton_ = new QToolButton(this);
  rollButton_->setAutoRaise(true);
  SetColours(rollButton_, QColor(), Qt::white);
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
