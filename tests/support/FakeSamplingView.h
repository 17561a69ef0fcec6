#pragma once
// A SamplingView that keeps the enabled state of every control and records the other
// calls, one line each.

#include <QString>
#include <QStringList>
#include <map>

#include "link/SamplingView.h"

class FakeSamplingView : public SamplingView {
 public:
  std::map<SamplingControlId, bool> enabled;
  QStringList calls;

  bool Enabled(SamplingControlId id) const {
    const auto found = enabled.find(id);
    return found != enabled.end() && found->second;
  }

  void SetControlEnabled(SamplingControlId control, bool on) override { enabled[control] = on; }
  void SetStatusText(int panel, const QString& text) override {
    calls << QString("Status %1 %2").arg(panel).arg(text);
  }
  void RefreshChannelPage(int channel) override {
    calls << QString("RefreshChannel %1").arg(channel);
  }
  void RefreshThreePhasePage() override { calls << "RefreshThreePhase"; }
  void RefreshHarmonicGrid() override { calls << "RefreshGrid"; }
  void SetAlarmStatusText(const QString& text) override { calls << "AlarmStatus " + text; }
  void ShowAlarmFormModal() override { calls << "ShowAlarmFormModal"; }
  void InstrumentSettingsReadClick() override { calls << "InstrumentSettingsReadClick"; }
  void ShowInstrumentSettingsForm() override { calls << "ShowInstrumentSettingsForm"; }
};
