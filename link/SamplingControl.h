#pragma once
// Single and continuous readings of the whole measurement set: the main window's
// handlers of the sampling buttons and menu entries, and its two sampling timers.
// Continuous sampling re-arms a 50 ms timer after each good answer; a 2 s timer re-sends
// the last read until a good answer arrives. The answers go through the dispatcher,
// which reaches the timers and buttons here through the main window's LinkView.

#include <QObject>
#include <QTimer>

#include "link/SamplingView.h"

inline constexpr const char* kRequestFailedText =
    "The request read fails, the instrument and the computer is not connected.";
inline constexpr const char* kSynchronizationFailedText =
    "Synchronization fails, the instrument has been shut down or computer has not properly "
    "connected.";

class SamplingControl : public QObject {
  Q_OBJECT
 public:
  static constexpr int kContinuousReadIntervalMs = 50;
  static constexpr int kReReadIntervalMs = 2000;
  // A single reading asks with count 2 but its re-sends carry this count.
  static constexpr uint16_t kSingleReadResendCount = 2620;

  explicit SamplingControl(SamplingView& view, QObject* parent = nullptr);

  // Enables and disables the controls as at start-up (both timers stay off).
  void ApplyStartupState();

  // Handlers of the main window.
  void SeSkinSpeedButton7Click();  // Single Sampling
  void SeSkinButton4Click();       // Continuous Sampling
  void SeSkinSpeedButton9Click();  // Stop
  void ContinuousReadTimerTimer();
  void ReReadTimerTimer();
  bool FormCloseQuery();  // the main window is closing; never refuses
  void N11Click();        // Alarm
  void N33Click();        // Instrument Settings

  // What the dispatcher asks through LinkView; the main window forwards here.
  void SetReReadTimerEnabled(bool enabled);
  void SetContinuousReadTimerEnabled(bool enabled);
  // After a single reading: Single and Continuous Sampling buttons, N13 and N14.
  void SetSamplingControlsEnabled(bool enabled);
  // On connecting or failing to (the port scan): both sampling buttons, N12 and N13.
  void SetConnectedControlsEnabled(bool enabled);

  bool ReReadTimerEnabled() const { return ReReadTimer.isActive(); }
  bool ContinuousReadTimerEnabled() const { return ContinuousReadTimer.isActive(); }
  // Tests shorten the intervals; the application keeps 50 ms and 2000 ms.
  void SetTimerIntervals(int continuousReadMs, int reReadMs);

 private:
  void Enable(SamplingControlId control, bool enabled) {
    view_.SetControlEnabled(control, enabled);
  }
  void RequestAllChannels();
  void RefreshDisplays();

  SamplingView& view_;
  QTimer ContinuousReadTimer;
  QTimer ReReadTimer;
};
