#pragma once
// What the link asks of the instrument configuration windows. Every call does nothing by
// default, so a window that is not there (a test, the batch tool) needs no stand-in; a
// window overrides what it shows.

#include <QString>
#include <cstdint>

// The texts the instrument's acknowledgement of a written block puts on the windows.
inline constexpr const char* kAlarmsWrittenText = "The transmission data is completed.";
inline constexpr const char* kSetupWrittenText = "Data is successfully written instrument";

class AlarmView {
 public:
  virtual ~AlarmView() = default;
  // Refill the controls from AlarmBlock.
  virtual void AlarmFormCreate() {}
  virtual void SetAlarmStatusText(const QString&) {}  // its status panel 0
  virtual void ShowAlarmFormModal() {}                // returns when the window closes
};

class InstrumentSettingsView {
 public:
  virtual ~InstrumentSettingsView() = default;
  // Fill the controls from InstrumentSetup.
  virtual void ShowInstrumentSetup() {}
  virtual void SetInstrumentStatusText(const QString&) {}  // its status panel 0
  virtual void InstrumentSettingsReadClick() {}            // "Reading from instruments"
  virtual void ShowInstrumentSettingsForm() {}             // shown without waiting
};

// The current phase corrections, read back into Edit7 to Edit12: Ch1 narrow and broad
// band, Ch2 narrow and broad, Ch3 narrow and broad.
inline constexpr uint16_t kPhaseCorrectionRegisters[6] = {815, 816, 829, 830, 843, 844};

class CalibrationView {
 public:
  virtual ~CalibrationView() = default;
  // The text of Edit7 to Edit12 (edit 7 to 12).
  virtual void SetCalibrationEditText(int, const QString&) {}
};
