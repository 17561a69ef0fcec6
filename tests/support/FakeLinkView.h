#pragma once
// A LinkView that records what the dispatcher asked of the windows, one line per call.

#include <QString>
#include <QStringList>

#include "link/LinkView.h"

class FakeLinkView : public LinkView {
 public:
  QStringList calls;
  int speedIndex = 7;
  int progress = -1;

  void ShowProgressBar(int position) override {
    progress = position;
    calls << QString("ShowProgressBar %1").arg(position);
  }
  void SetProgressPosition(int position) override { progress = position; }
  void SetStatusText(int panel, const QString& text) override {
    calls << QString("Status %1 %2").arg(panel).arg(text);
  }
  void RefreshChannelPage(int channel) override {
    calls << QString("RefreshChannel %1").arg(channel);
  }
  void RefreshThreePhasePage() override { calls << "RefreshThreePhase"; }
  void RefreshHarmonicGrid() override { calls << "RefreshGrid"; }
  void SetReReadTimerEnabled(bool on) override { calls << QString("ReReadTimer %1").arg(on); }
  void SetContinuousReadTimerEnabled(bool on) override {
    calls << QString("ContinuousTimer %1").arg(on);
  }
  void SetSamplingControlsEnabled(bool on) override {
    calls << QString("SamplingControls %1").arg(on);
  }
  int SpeedIndex() const override { return speedIndex; }
  void AlarmFormCreate() override { calls << "AlarmFormCreate"; }
  void SetAlarmStatusText(const QString& text) override { calls << "AlarmStatus " + text; }
  void ShowInstrumentSetup() override { calls << "ShowInstrumentSetup"; }
  void SetInstrumentStatusText(const QString& text) override { calls << "SetupStatus " + text; }
  void SetCalibrationEditText(int edit, const QString& text) override {
    calls << QString("Edit%1 %2").arg(edit).arg(text);
  }
};
