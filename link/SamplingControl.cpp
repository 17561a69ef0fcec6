#include "link/SamplingControl.h"

#include "display/ConfigBlocks.h"
#include "link/Frames.h"
#include "link/LinkLog.h"
#include "link/LinkPort.h"
#include "link/LinkState.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"

namespace {
constexpr uint16_t kAllChannelsCount = 2;

// A timer's Enabled switch: switching on a running timer does not restart it.
void SetTimerEnabled(QTimer& timer, bool enabled) {
  if (!enabled) {
    timer.stop();
  } else if (!timer.isActive()) {
    timer.start();
  }
}
}  // namespace

SamplingControl::SamplingControl(SamplingView& view, QObject* parent)
    : QObject(parent), view_(view) {
  ContinuousReadTimer.setInterval(kContinuousReadIntervalMs);
  ReReadTimer.setInterval(kReReadIntervalMs);
  connect(&ContinuousReadTimer, &QTimer::timeout, this,
          [this] { RunHandler([this] { ContinuousReadTimerTimer(); }); });
  connect(&ReReadTimer, &QTimer::timeout, this,
          [this] { RunHandler([this] { ReReadTimerTimer(); }); });
}

void SamplingControl::ApplyStartupState() {
  ContinuousReadTimer.stop();
  ReReadTimer.stop();
  for (const SamplingControlInfo& control : kSamplingControls)
    Enable(control.id, control.enabledAtStart);
}

void SamplingControl::SetTimerIntervals(int continuousReadMs, int reReadMs) {
  ContinuousReadTimer.setInterval(continuousReadMs);
  ReReadTimer.setInterval(reReadMs);
}

void SamplingControl::SetReReadTimerEnabled(bool enabled) {
  SetTimerEnabled(ReReadTimer, enabled);
}

void SamplingControl::SetContinuousReadTimerEnabled(bool enabled) {
  SetTimerEnabled(ContinuousReadTimer, enabled);
}

void SamplingControl::SetSamplingControlsEnabled(bool enabled) {
  Enable(SamplingControlId::SeSkinSpeedButton7, enabled);
  Enable(SamplingControlId::N13, enabled);
  Enable(SamplingControlId::SeSkinButton4, enabled);
  Enable(SamplingControlId::N14, enabled);
}

void SamplingControl::SetConnectedControlsEnabled(bool enabled) {
  Enable(SamplingControlId::SeSkinSpeedButton7, enabled);
  Enable(SamplingControlId::SeSkinButton4, enabled);
  Enable(SamplingControlId::N12, enabled);
  Enable(SamplingControlId::N13, enabled);
}

void SamplingControl::RequestAllChannels() {
  if (!SendReadRequest(SlaveAddress, kRegisterAllChannels, kAllChannelsCount))
    ShowMessage(kRequestFailedText);
}

void SamplingControl::RefreshDisplays() {
  for (int channel = 1; channel <= 3; ++channel) view_.RefreshChannelPage(channel);
  view_.RefreshThreePhasePage();
  view_.RefreshHarmonicGrid();
}

void SamplingControl::SeSkinSpeedButton7Click() {
  RequestAllChannels();
  LastReadRegister = kRegisterAllChannels;
  LastReadCount = kSingleReadResendCount;
  SamplingMode = kSamplingSingle;
  Enable(SamplingControlId::SeSkinSpeedButton7, false);
  Enable(SamplingControlId::SeSkinButton4, false);
  Enable(SamplingControlId::SeSkinSpeedButton9, true);
  KeepAliveTicks = 0;
  ReceiveSilenceTicks = 0;
  SetReReadTimerEnabled(true);
  RefreshDisplays();
}

void SamplingControl::SeSkinButton4Click() {
  RequestAllChannels();
  LastReadRegister = kRegisterAllChannels;
  LastReadCount = kAllChannelsCount;
  SamplingMode = kSamplingContinuous;
  Enable(SamplingControlId::SeSkinSpeedButton7, false);
  Enable(SamplingControlId::SeSkinButton4, false);
  Enable(SamplingControlId::SeSkinSpeedButton9, true);
  for (SamplingControlId menu :
       {SamplingControlId::C1, SamplingControlId::N11, SamplingControlId::N12,
        SamplingControlId::N13, SamplingControlId::N33})
    Enable(menu, false);
  Enable(SamplingControlId::N14, true);
  KeepAliveTicks = 0;
  ReceiveSilenceTicks = 0;
  SetReReadTimerEnabled(true);
  RefreshDisplays();
}

void SamplingControl::ContinuousReadTimerTimer() {
  // Off before anything else: a failure box runs the event loop, and a running 50 ms
  // timer would stack up one box after another meanwhile.
  SetContinuousReadTimerEnabled(false);
  if (SendReadRequest(SlaveAddress, kRegisterAllChannels, kAllChannelsCount)) {
    LastReadRegister = kRegisterAllChannels;
  } else {
    ShowMessage(kRequestFailedText);
  }
  view_.SetStatusText(0, "Is requesting the data!");
  SetReReadTimerEnabled(true);
}

void SamplingControl::ReReadTimerTimer() {
  view_.SetStatusText(0, "Communication failure, re-connect!");
  const LinkPort* port = CurrentLinkPort();
  if (port != nullptr && port->PortOpen()) {
    TheLinkLog().CountRetry();  // no good answer came
    SendReadRequest(SlaveAddress, LastReadRegister, LastReadCount);
  }
}

void SamplingControl::SeSkinSpeedButton9Click() {
  SamplingMode = kSamplingIdle;
  Enable(SamplingControlId::SeSkinSpeedButton7, true);
  Enable(SamplingControlId::SeSkinButton4, true);
  for (SamplingControlId menu :
       {SamplingControlId::N14, SamplingControlId::C1, SamplingControlId::N11,
        SamplingControlId::N12, SamplingControlId::N13, SamplingControlId::N33})
    Enable(menu, true);
  SetReReadTimerEnabled(false);
  SetContinuousReadTimerEnabled(false);
}

bool SamplingControl::FormCloseQuery() {
  // Over the USB link the instrument is told that the application goes away.
  if (UsbMode == 1) SendReadRequest(SlaveAddress, kRegisterLeave, 0);
  return true;
}

void SamplingControl::N11Click() {
  view_.SetAlarmStatusText("Is requesting the instrument data ...");
  if (!SendReadRequest(SlaveAddress, kRegisterAlarms, kAlarmBlockSize))
    ShowMessage(kSynchronizationFailedText);
  LastReadRegister = kRegisterAlarms;
  LastReadCount = kAlarmBlockSize;
  view_.ShowAlarmFormModal();
}

void SamplingControl::N33Click() {
  view_.InstrumentSettingsReadClick();
  view_.ShowInstrumentSettingsForm();
}
