#pragma once
// What the dispatcher may ask of the windows. The main window implements it and wires
// the other windows behind it; tests hand in a recording fake.

#include <QString>

class LinkView {
 public:
  virtual ~LinkView() = default;

  // Main window: the progress bar (maximum 50), shown and repainted at once.
  virtual void ShowProgressBar(int position) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetStatusText(int panel, const QString& text) = 0;

  // Pages to redraw after a reading, in the order the dispatcher calls them.
  virtual void RefreshChannelPage(int channel) = 0;  // 1 to 3
  virtual void RefreshThreePhasePage() = 0;
  virtual void RefreshHarmonicGrid() = 0;

  // Sampling control's timers and buttons.
  virtual void SetReReadTimerEnabled(bool enabled) = 0;
  virtual void SetContinuousReadTimerEnabled(bool enabled) = 0;
  // Single Sampling, Continuous Sampling and their menu entries.
  virtual void SetSamplingControlsEnabled(bool enabled) = 0;

  // The communication window's speed box: item index 0 to 7, 4.8 to 115.2 kbit/s.
  virtual int SpeedIndex() const = 0;

  // The configuration windows; a view without them (a test, the batch tool) does nothing.
  // Alarm window: refill the controls from AlarmBlock; its status panel 0.
  virtual void AlarmFormCreate() {}
  virtual void SetAlarmStatusText(const QString&) {}
  // Instrument settings window: fill from InstrumentSetup; its status panel 0.
  virtual void ShowInstrumentSetup() {}
  virtual void SetInstrumentStatusText(const QString&) {}
  // Calibration window: the text of Edit7 to Edit12.
  virtual void SetCalibrationEditText(int, const QString&) {}
};
