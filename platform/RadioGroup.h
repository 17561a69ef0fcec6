#pragma once
// A captioned group of radio buttons with one item index, like the toolkit's radio group:
// selecting an item from the program runs the same click handling as a user's click.

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <functional>
#include <vector>

class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  // -1 when no item is selected.
  int ItemIndex() const { return itemIndex_; }
  // Selects `index` (-1 clears); runs OnClick when the selection changes.
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(buttons_.size()); }
  QRadioButton* Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }
  QString ItemText(int index) const { return Button(index)->text(); }
  // Replaces the items; the selection is cleared without a click.
  void SetItems(const QStringList& items);

  std::function<void()> OnClick;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Arrange();

  QButtonGroup* group_;
  std::vector<QRadioButton*> buttons_;
  int itemIndex_ = -1;
};
