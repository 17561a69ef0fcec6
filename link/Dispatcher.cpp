#include "link/Dispatcher.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <span>

#include "display/ConfigBlocks.h"
#include "link/ConfigViews.h"
#include "link/Frames.h"
#include "link/LinkLog.h"
#include "link/LinkPort.h"
#include "link/LinkState.h"
#include "link/LinkView.h"
#include "platform/Sleep.h"

uint8_t ResponseBuffer[kResponseBufferSize];

namespace {

constexpr int kProgressSteps = 50;
constexpr int kProgressFull = 100;
constexpr int kFrameOverhead = 5;  // address, function, byte count, two CRC bytes
constexpr uint32_t kFirstWait = 15;
constexpr uint32_t kUsbReadingWait = 5;

// Registers whose answer is one float for the calibration edit boxes Edit7 to Edit12.

// Fields that the pages cannot show as NaN: VoltageTrms, VoltagePeak, Frequency,
// VoltageCrestFactor, VoltageThdF, CurrentTrms, CurrentPeak, CurrentPhase,
// CurrentCrestFactor, CurrentThdF, ActivePower, ApparentPower, ReactivePower, PowerFactor.
constexpr size_t kRepairedFloatOffsets[] = {
    offsetof(ChannelBlock, VoltageTrms),        offsetof(ChannelBlock, VoltagePeak),
    offsetof(ChannelBlock, Frequency),          offsetof(ChannelBlock, VoltageCrestFactor),
    offsetof(ChannelBlock, VoltageThdF),        offsetof(ChannelBlock, CurrentTrms),
    offsetof(ChannelBlock, CurrentPeak),        offsetof(ChannelBlock, CurrentPhase),
    offsetof(ChannelBlock, CurrentCrestFactor), offsetof(ChannelBlock, CurrentThdF),
    offsetof(ChannelBlock, ActivePower),        offsetof(ChannelBlock, ApparentPower),
    offsetof(ChannelBlock, ReactivePower),      offsetof(ChannelBlock, PowerFactor)};

// Replaces a NaN stored at `where` (no alignment assumed); infinities stay.
template <typename T>
void RepairNaNAt(uint8_t* where, T replacement) {
  T value;
  std::memcpy(&value, where, sizeof value);
  if (std::isnan(value)) std::memcpy(where, &replacement, sizeof replacement);
}

void ResendLastRead() {
  SendReadRequest(SlaveAddress, LastReadRegister, LastReadCount);
}

void CompleteAllChannels(LinkView& view) {
  RepairMeasurementSet(MeasurementData.Set);
  for (int channel = 1; channel <= 3; ++channel) view.RefreshChannelPage(channel);
  view.RefreshThreePhasePage();
  view.RefreshHarmonicGrid();
  view.SetStatusText(0, "Communications to complete");
  const QDateTime now = QDateTime::currentDateTime();
  const QString when = ReadingDateTimeText(QLocale::system(), now);
  view.SetStatusText(5, "Date: " + when);
  StoreDateTimeText(MeasurementData, StoredReadingText(when, now));
  view.SetReReadTimerEnabled(false);
  if (SamplingMode == kSamplingContinuous) view.SetContinuousReadTimerEnabled(true);
  if (SamplingMode == kSamplingSingle) {
    SamplingMode = kSamplingIdle;
    view.SetSamplingControlsEnabled(true);
  }
}

// Routes a read answer of `length` bytes (CRC already checked) by the register of the
// last frame in PendingRequest. An answer too short for its block is incomplete: the
// block keeps its contents and the last read is asked for again.
FrameOutcome RouteReadAnswer(int length, LinkView& view) {
  const uint16_t reg = static_cast<uint16_t>(PendingRequest[2] << 8 | PendingRequest[3]);
  const uint8_t* payload = ResponseBuffer + 3;
  const int payloadLength = length - kFrameOverhead;
  auto complete = [&](int needed) {
    if (payloadLength >= needed) return true;
    ResendLastRead();
    return false;
  };

  if (reg == kRegisterAlarms) {
    if (!complete(kAlarmBlockSize)) return FrameOutcome::WrongLength;
    std::memcpy(&AlarmBlock, payload, kAlarmBlockSize);
    view.AlarmFormCreate();
    view.SetStatusText(0, "Status: synchronization with the instrument");
    view.SetAlarmStatusText("Has been synchronized with the instrument data");
  } else if (reg == kRegisterSetup) {
    if (!complete(kInstrumentSetupSize)) return FrameOutcome::WrongLength;
    std::memcpy(&InstrumentSetup, payload, kInstrumentSetupSize);
    view.ShowInstrumentSetup();
  } else if (reg == kRegisterAllChannels) {
    if (!complete(kMeasurementSetSize)) return FrameOutcome::WrongLength;
    const bool late = SamplingMode == kSamplingIdle;
    std::memcpy(&MeasurementData.Set, payload, kMeasurementSetSize);
    CompleteAllChannels(view);
    return late ? FrameOutcome::LateAfterStop : FrameOutcome::Routed;
  } else if (reg == kRegisterKeepAlive) {
    return FrameOutcome::Routed;  // the instrument is there; nothing more to do
  } else {
    const auto* found =
        std::find(std::begin(kPhaseCorrectionRegisters), std::end(kPhaseCorrectionRegisters), reg);
    if (found == std::end(kPhaseCorrectionRegisters)) return FrameOutcome::NotRouted;
    if (!complete(4)) return FrameOutcome::WrongLength;
    const double value = BytesToFloat(payload);
    const int edit = 7 + static_cast<int>(found - std::begin(kPhaseCorrectionRegisters));
    view.SetCalibrationEditText(edit, QString::number(value, 'g', 15));
  }
  return FrameOutcome::Routed;
}

}  // namespace

uint32_t AnswerWaitPerStep(int speedIndex) {
  static constexpr uint32_t kPerStep[8] = {360, 156, 108, 78, 39, 27, 18, 15};
  return speedIndex >= 0 && speedIndex < 8 ? kPerStep[speedIndex] : 0;
}

void RepairMeasurementSet(MeasurementSet& set) {
  for (ChannelBlock& block : set.Channel) {
    auto* bytes = reinterpret_cast<uint8_t*>(&block);
    for (size_t offset : kRepairedFloatOffsets) RepairNaNAt<float>(bytes + offset, 0.0f);
    RepairNaNAt<double>(bytes + offsetof(ChannelBlock, EnergyKwh), 0.0);
  }
  RepairNaNAt<float>(reinterpret_cast<uint8_t*>(&set.ThreePhase), 1.0f);
}

QString StoredReadingText(const QString& text, const QDateTime& when) {
  if (text.toLocal8Bit().size() <= static_cast<qsizetype>(sizeof MeasurementRecord::DateTimeText)) {
    return text;
  }
  return when.toString("yyyy-MM-dd HH:mm:ss");
}

void StoreDateTimeText(MeasurementRecord& record, const QString& text) {
  const QByteArray bytes = text.left(sizeof record.DateTimeText).toLocal8Bit();
  const size_t kept =
      std::min<size_t>(static_cast<size_t>(bytes.size()), sizeof record.DateTimeText);
  std::memset(record.DateTimeText, 0, sizeof record.DateTimeText);
  std::memcpy(record.DateTimeText, bytes.constData(), kept);
}

void Comm1ReceiveData(LinkPort& port, LinkView& view) {
  view.ShowProgressBar(0);
  Sleep(kFirstWait);
  if (UsbMode == 1) {
    if (LastReadRegister == kRegisterAllChannels) Sleep(kUsbReadingWait);
    view.SetProgressPosition(kProgressFull);
  } else {
    const uint32_t perStep =
        LastReadRegister == kRegisterAllChannels ? AnswerWaitPerStep(view.SpeedIndex()) : 0;
    for (int step = 1; step <= kProgressSteps; ++step) {
      view.SetProgressPosition(step);
      if (perStep != 0) Sleep(perStep);
    }
  }

  const std::span<const uint8_t> input = port.ReadInputBytes();
  const int length = static_cast<int>(std::min<size_t>(input.size(), kResponseBufferSize));
  if (length > 0) std::memcpy(ResponseBuffer, input.data(), static_cast<size_t>(length));

  if (UsbMode == 1) {
    KeepAliveTicks = 0;
    ReceiveSilenceTicks = 0;
  }
  const std::span<const uint8_t> answer(ResponseBuffer, static_cast<size_t>(length));
  const uint16_t pending = static_cast<uint16_t>(PendingRequest[2] << 8 | PendingRequest[3]);
  LinkLog& log = TheLinkLog();
  if (length < kFrameOverhead) {
    if (length > 0) log.Answer(answer, FrameOutcome::WrongLength, pending);
    return;
  }

  const uint16_t crc = Crc16(ResponseBuffer, static_cast<size_t>(length - 2));
  const uint16_t received =
      static_cast<uint16_t>(ResponseBuffer[length - 2] | ResponseBuffer[length - 1] << 8);
  if (crc != received) {
    log.Answer(answer, FrameOutcome::BadCrc, pending);
    ResendLastRead();
    return;
  }

  const uint8_t function = ResponseBuffer[1];
  if (function == kFunctionRead) {
    LoggedFrame& logged = log.Answer(answer, pending);
    log.Settle(logged, RouteReadAnswer(length, view));
  } else if (function == kFunctionWriteAck) {
    log.Answer(answer, FrameOutcome::Routed, ResponseBuffer[2]);
    if (ResponseBuffer[2] == kRegisterAlarms) {
      view.SetAlarmStatusText(kAlarmsWrittenText);
    } else if (ResponseBuffer[2] == kRegisterSetup) {
      view.SetInstrumentStatusText(kSetupWrittenText);
    }
  } else {
    log.Answer(answer, FrameOutcome::NotRouted, pending);
  }
}
