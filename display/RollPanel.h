#pragma once
// A panel with a title bar that rolls up to the bar alone and down again, laid over a plot.
// Its roll button and Toggle() switch it; children are placed below the 22-pixel bar.

#include <QFrame>
#include <QString>

class QLabel;
class QToolButton;

class RollPanel : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kTitleHeight = 22;

  RollPanel(const QString& caption, int width, int expandedHeight, QWidget* parent = nullptr);

  bool Expanded() const { return expanded_; }
  void SetExpanded(bool expanded);
  void Toggle() { SetExpanded(!expanded_); }
  QString Caption() const;
  QToolButton* RollButton() const { return rollButton_; }

 signals:
  void ExpandedChanged(bool expanded);

 private:
  void UpdateButton();

  QLabel* caption_;
  QToolButton* rollButton_;
  int expandedHeight_;
  bool expanded_ = false;
};
