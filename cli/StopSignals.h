#pragma once
// SIGINT and SIGTERM as a Qt signal, so that a long command can end cleanly: while an
// object lives, the two signals no longer end the program but emit Stopped once.

#include <QObject>

class QSocketNotifier;

class StopSignals : public QObject {
  Q_OBJECT
 public:
  StopSignals();
  ~StopSignals() override;
  bool Received() const { return received_; }

 signals:
  void Stopped();

 private:
  QSocketNotifier* notifier_ = nullptr;
  bool received_ = false;
};
