#pragma once
// What the configuration windows share: a one-panel status bar and the wait for the
// instrument's acknowledgement of a write.

#include <QLabel>
#include <QStatusBar>
#include <QString>
#include <QTimer>
#include <functional>

// A status bar with the single panel 0.
class StatusPanel : public QStatusBar {
 public:
  explicit StatusPanel(QWidget* parent = nullptr);
  void SetText(const QString& text) { label_->setText(text); }
  QString Text() const { return label_->text(); }

 private:
  QLabel* label_;
};

// A write waits this long for its acknowledgement before it is reported as failed.
inline constexpr int kAcknowledgeTimeoutMs = 3000;
inline constexpr const char* kNotAcknowledgedText =
    "The instrument did not confirm the data: it has not been written.";

// Runs `onTimeout` when Arm is not followed by Acknowledged within the time.
class AcknowledgeWait : public QObject {
 public:
  AcknowledgeWait(std::function<void()> onTimeout, QObject* parent);
  void Arm();
  void Acknowledged() { timer_.stop(); }
  bool Waiting() const { return timer_.isActive(); }
  void SetTimeout(int ms) { timer_.setInterval(ms); }

 private:
  QTimer timer_;
};
