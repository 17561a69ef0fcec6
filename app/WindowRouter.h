#pragma once
// The one place that routes what the dispatcher, sampling control and the communication
// window ask of the windows to the windows that exist. The main window's own parts go to
// the main window; each other window registers the view it implements, and a view not
// registered does nothing.

#include "link/ConfigViews.h"
#include "link/LinkView.h"
#include "link/SamplingView.h"
#include "link/TCommForm.h"

class TMainForm;

class WindowRouter : public LinkView, public SamplingView, public CommFormHost {
 public:
  explicit WindowRouter(TMainForm& main) : main_(main) {}

  void SetCommForm(TCommForm* form) { comm_ = form; }
  void SetAlarmView(AlarmView* view) { alarm_ = view ? view : &noAlarm_; }
  void SetInstrumentSettingsView(InstrumentSettingsView* view) {
    instrument_ = view ? view : &noInstrument_;
  }
  void SetCalibrationView(CalibrationView* view) { calibration_ = view ? view : &noCalibration_; }

  // The main window.
  void ShowProgressBar(int position) override;
  void SetProgressPosition(int position) override;
  void SetStatusText(int panel, const QString& text) override;
  void RefreshChannelPage(int channel) override;
  void RefreshThreePhasePage() override;
  void RefreshHarmonicGrid() override;
  void SetControlEnabled(SamplingControlId control, bool enabled) override;

  // Sampling control.
  void SetReReadTimerEnabled(bool enabled) override;
  void SetContinuousReadTimerEnabled(bool enabled) override;
  void SetSamplingControlsEnabled(bool enabled) override;
  void SetSamplingStartEnabled(bool enabled) override;

  // The communication window; -1 before it exists.
  int SpeedIndex() const override;

  // The configuration windows.
  void AlarmFormCreate() override { alarm_->AlarmFormCreate(); }
  void SetAlarmStatusText(const QString& text) override { alarm_->SetAlarmStatusText(text); }
  void ShowAlarmFormModal() override { alarm_->ShowAlarmFormModal(); }
  void ShowInstrumentSetup() override { instrument_->ShowInstrumentSetup(); }
  void SetInstrumentStatusText(const QString& text) override {
    instrument_->SetInstrumentStatusText(text);
  }
  void InstrumentSettingsReadClick() override { instrument_->InstrumentSettingsReadClick(); }
  void ShowInstrumentSettingsForm() override { instrument_->ShowInstrumentSettingsForm(); }
  void SetCalibrationEditText(int edit, const QString& text) override {
    calibration_->SetCalibrationEditText(edit, text);
  }

 private:
  TMainForm& main_;
  TCommForm* comm_ = nullptr;
  AlarmView noAlarm_;
  InstrumentSettingsView noInstrument_;
  CalibrationView noCalibration_;
  AlarmView* alarm_ = &noAlarm_;
  InstrumentSettingsView* instrument_ = &noInstrument_;
  CalibrationView* calibration_ = &noCalibration_;
};
