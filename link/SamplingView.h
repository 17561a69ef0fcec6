#pragma once
// What sampling control may ask of the main window: its sampling buttons and menu
// entries, the status bar, the pages, and the alarm and instrument settings windows.
// The main window implements it; where a call has the same signature as in LinkView,
// one override serves both.

#include <QString>

// The controls sampling control enables and disables, by their names on the main window.
enum class SamplingControlId {
  SeSkinSpeedButton7,  // tool bar: Single Sampling
  SeSkinButton4,       // tool bar: Continuous Sampling
  SeSkinSpeedButton9,  // tool bar: Stop
  N12,                 // menu "Run (&P)": Single Sampling
  N13,                 // menu "Run (&P)": Continuous Sampling
  N14,                 // menu "Run (&P)": Stop
  C1,                  // menu "Options (&O)": Communication
  N11,                 // menu "Options (&O)": Alarm
  N33,                 // menu "Options (&O)": Instrument Settings
};

// How the main window builds them: name, caption (tool-bar buttons: hint), state at
// start-up, and the handler a click runs.
struct SamplingControlInfo {
  SamplingControlId id;
  const char* name;
  const char* text;
  bool enabledAtStart;
  const char* handler;
};
inline constexpr SamplingControlInfo kSamplingControls[] = {
    {SamplingControlId::SeSkinSpeedButton7, "SeSkinSpeedButton7", "Single Sampling ", false,
     "SeSkinSpeedButton7Click"},
    {SamplingControlId::SeSkinButton4, "SeSkinButton4", "Continuous Sampling", false,
     "SeSkinButton4Click"},
    {SamplingControlId::SeSkinSpeedButton9, "SeSkinSpeedButton9", "Stop", false,
     "SeSkinSpeedButton9Click"},
    {SamplingControlId::N12, "N12", "Single Sampling ", true, "SeSkinSpeedButton7Click"},
    {SamplingControlId::N13, "N13", "Continuous Sampling", true, "SeSkinButton4Click"},
    {SamplingControlId::N14, "N14", "Stop ", false, "SeSkinSpeedButton9Click"},
    {SamplingControlId::C1, "C1", "Communication", true, "C1Click"},
    {SamplingControlId::N11, "N11", "Alarm ", true, "N11Click"},
    {SamplingControlId::N33, "N33", "Instrument Settings", true, "N33Click"},
};
inline constexpr const char* kRunMenuCaption = "Run (&P)";          // N12, N13, N14
inline constexpr const char* kOptionsMenuCaption = "Options (&O)";  // C1, N11, N33

class SamplingView {
 public:
  virtual ~SamplingView() = default;

  virtual void SetControlEnabled(SamplingControlId control, bool enabled) = 0;
  virtual void SetStatusText(int panel, const QString& text) = 0;  // main status bar

  // Redraw the pages from the data held.
  virtual void RefreshChannelPage(int channel) = 0;  // 1 to 3
  virtual void RefreshThreePhasePage() = 0;
  virtual void RefreshHarmonicGrid() = 0;

  // The configuration windows; a view without them does nothing.
  // Alarm window: its status panel 0; shown modally (returns when it closes).
  virtual void SetAlarmStatusText(const QString&) {}
  virtual void ShowAlarmFormModal() {}
  // Instrument settings window: its read button ("Reading from instruments"); shown
  // without waiting for it.
  virtual void InstrumentSettingsReadClick() {}
  virtual void ShowInstrumentSettingsForm() {}
};
