#include "platform/RadioGroup.h"

#include <QResizeEvent>
#include <algorithm>

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
  group_->setExclusive(true);
  connect(group_, &QButtonGroup::idClicked, this, [this](int id) { SetItemIndex(id); });
  SetItems(items);
}

void RadioGroup::SetItems(const QStringList& items) {
  for (QRadioButton* button : buttons_) delete button;
  buttons_.clear();
  itemIndex_ = -1;
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    group_->addButton(button, i);
    buttons_.push_back(button);
    button->show();
  }
  Arrange();
}

void RadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) return;
  const bool changed = index != itemIndex_;
  itemIndex_ = index;
  if (index < 0) {
    group_->setExclusive(false);
    for (QRadioButton* button : buttons_) button->setChecked(false);
    group_->setExclusive(true);
  } else {
    buttons_[static_cast<size_t>(index)]->setChecked(true);
  }
  if (changed && OnClick) OnClick();
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  Arrange();
}

void RadioGroup::Arrange() {
  // One column of items spread evenly below the caption.
  if (buttons_.empty()) return;
  const int top = 18;
  const int step = std::max(18, (height() - top - 4) / static_cast<int>(buttons_.size()));
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->setGeometry(8, top + static_cast<int>(i) * step, std::max(20, width() - 16),
                             std::min(step, 22));
  }
}
