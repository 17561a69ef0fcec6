#include "app/WindowRouter.h"

#include "app/TMainForm.h"

void WindowRouter::ShowProgressBar(int position) {
  main_.ShowProgressBar(position);
}
void WindowRouter::SetProgressPosition(int position) {
  main_.SetProgressPosition(position);
}
void WindowRouter::SetStatusText(int panel, const QString& text) {
  main_.SetStatusText(panel, text);
}
void WindowRouter::RefreshChannelPage(int channel) {
  main_.RefreshChannelPage(channel);
}
void WindowRouter::RefreshThreePhasePage() {
  main_.RefreshThreePhasePage();
}
void WindowRouter::RefreshHarmonicGrid() {
  main_.RefreshHarmonicGrid();
}
void WindowRouter::SetControlEnabled(SamplingControlId control, bool enabled) {
  main_.SetControlEnabled(control, enabled);
}

void WindowRouter::SetReReadTimerEnabled(bool enabled) {
  main_.Sampling->SetReReadTimerEnabled(enabled);
}
void WindowRouter::SetContinuousReadTimerEnabled(bool enabled) {
  main_.Sampling->SetContinuousReadTimerEnabled(enabled);
}
void WindowRouter::SetSamplingControlsEnabled(bool enabled) {
  main_.Sampling->SetSamplingControlsEnabled(enabled);
}
void WindowRouter::SetSamplingStartEnabled(bool enabled) {
  main_.Sampling->SetConnectedControlsEnabled(enabled);
}

int WindowRouter::SpeedIndex() const {
  return comm_ ? comm_->SpeedIndex() : -1;
}
