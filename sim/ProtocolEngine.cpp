#include "sim/ProtocolEngine.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "display/ConfigBlocks.h"
#include "display/WireFormat.h"
#include "sim/FrameLog.h"
#include "sim/SimulatedMeter.h"

namespace {

constexpr uint8_t kExceptionFlag = 0x80;

// Calibration references: the voltage and current register of each channel.
constexpr uint16_t kVoltageReference[3] = {802, 817, 831};
constexpr uint16_t kCurrentReference[3] = {806, 821, 835};
// Phase corrections: narrow and broad band of each channel.
constexpr uint16_t kPhaseCorrection[3][2] = {{815, 816}, {829, 830}, {843, 844}};

int IndexOf(const uint16_t (&registers)[3], uint16_t reg) {
  const auto* found = std::find(std::begin(registers), std::end(registers), reg);
  return found == std::end(registers) ? -1 : static_cast<int>(found - std::begin(registers));
}

bool FindPhaseRegister(uint16_t reg, int& channel, int& band) {
  for (channel = 0; channel < 3; ++channel)
    for (band = 0; band < 2; ++band)
      if (kPhaseCorrection[channel][band] == reg) return true;
  return false;
}

}  // namespace

void AppendCrc(std::vector<uint8_t>& frame) {
  const uint16_t crc = Crc16(frame.data(), frame.size());
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
}

ProtocolEngine::ProtocolEngine(SimulatedMeter& meter, uint8_t address, FaultPlan faults,
                               FrameLog* log)
    : meter_(meter), address_(address), faults_(std::move(faults)), log_(log) {}

std::vector<uint8_t> ProtocolEngine::ReadAnswer(const void* payload, size_t length) const {
  std::vector<uint8_t> frame(3 + length);
  frame[0] = address_;
  frame[1] = kFunctionRead;
  // The byte count of the long reading does not fit a byte; it carries the low byte.
  frame[2] = static_cast<uint8_t>(length & 0xFF);
  std::memcpy(frame.data() + 3, payload, length);
  AppendCrc(frame);
  return frame;
}

std::vector<uint8_t> ProtocolEngine::Acknowledge(uint16_t reg) const {
  std::vector<uint8_t> frame = {address_, kFunctionWriteAck, static_cast<uint8_t>(reg & 0xFF),
                                static_cast<uint8_t>(reg >> 8)};
  AppendCrc(frame);
  return frame;
}

std::vector<uint8_t> ProtocolEngine::Exception(uint8_t function, uint8_t code) const {
  std::vector<uint8_t> frame = {address_, static_cast<uint8_t>(function | kExceptionFlag), code};
  AppendCrc(frame);
  return frame;
}

std::optional<std::vector<uint8_t>> ProtocolEngine::Read(uint16_t reg, double now) {
  if (reg == kRegisterAlarms) return ReadAnswer(&meter_.Alarms(), kAlarmBlockSize);
  if (reg == kRegisterSetup) return ReadAnswer(&meter_.Setup(), kInstrumentSetupSize);
  if (reg == kRegisterAllChannels) {
    meter_.AdvanceTo(now);
    return ReadAnswer(&meter_.Reading(), kMeasurementSetSize);
  }
  if (reg == kRegisterKeepAlive) {
    const uint8_t status[2] = {0, 0};
    note_ = "keep-alive";
    return ReadAnswer(status, sizeof status);
  }
  if (reg == kRegisterLeave) {
    hostLeft_ = true;
    note_ = "the application leaves";
    return std::nullopt;
  }
  int channel = 0, band = 0;
  if (FindPhaseRegister(reg, channel, band)) {
    const float value = meter_.PhaseCorrection(channel, band);
    return ReadAnswer(&value, sizeof value);
  }
  note_ = "no such register";
  return Exception(kFunctionRead, kIllegalAddress);
}

std::optional<std::vector<uint8_t>> ProtocolEngine::Write(uint16_t reg,
                                                          std::span<const uint8_t> data) {
  auto refuse = [&](const char* why) {
    note_ = why;
    return Exception(kFunctionWrite, kIllegalValue);
  };
  float value = 0;
  if (data.size() == 4) std::memcpy(&value, data.data(), sizeof value);
  int channel = 0, band = 0;

  if (reg == kRegisterAlarms) {
    if (data.size() != kAlarmBlockSize) return refuse("alarm block of the wrong length");
    std::memcpy(&meter_.Alarms(), data.data(), kAlarmBlockSize);
  } else if (reg == kRegisterSetup) {
    if (data.size() != kInstrumentSetupSize) return refuse("set-up block of the wrong length");
    InstrumentSetupData setup;
    std::memcpy(&setup, data.data(), kInstrumentSetupSize);
    if (!meter_.SetSetup(setup)) return refuse("set-up value out of range");
  } else if (reg == kRegisterCalibrationBand) {
    if (data.size() != 1 || data[0] > 1) return refuse("band must be 0 or 1");
    InstrumentSetupData setup = meter_.Setup();
    setup.CurrentBandwidth = data[0];
    meter_.SetSetup(setup);
  } else if (reg == kRegisterUnlock) {
    if (data.size() != 4) return refuse("command of the wrong length");
    meter_.SetCalibrationUnlocked(data[0] == kUnlockCommand);
    note_ = meter_.CalibrationUnlocked() ? "calibration unlocked" : "calibration locked";
  } else if (reg == kRegisterTemperature) {
    if (data.size() != 4 || data[0] > 3) return refuse("temperature option must be 0 to 3");
    meter_.SetTemperatureOption(data[0]);
  } else if ((channel = IndexOf(kVoltageReference, reg)) >= 0 ||
             (channel = IndexOf(kCurrentReference, reg)) >= 0) {
    if (data.size() != 4) return refuse("float of the wrong length");
    const bool voltage = IndexOf(kVoltageReference, reg) >= 0;
    const bool done =
        voltage ? meter_.CalibrateVoltage(channel, value) : meter_.CalibrateCurrent(channel, value);
    if (!done) note_ = meter_.CalibrationUnlocked() ? "no signal to calibrate" : "locked, ignored";
  } else if (FindPhaseRegister(reg, channel, band)) {
    if (data.size() != 4) return refuse("float of the wrong length");
    if (!meter_.SetPhaseCorrection(channel, band, value)) return refuse("phase beyond 30 degrees");
  } else {
    note_ = "no such register";
    return Exception(kFunctionWrite, kIllegalAddress);
  }
  return Acknowledge(reg);
}

std::optional<std::vector<uint8_t>> ProtocolEngine::Respond(std::span<const uint8_t> frame,
                                                            double now) {
  note_.clear();
  const uint8_t address = frame[0];
  if (address != address_ && address != kBroadcastAddress) {
    note_ = "for address " + std::to_string(address) + ", ignored";
    return std::nullopt;
  }
  hostLeft_ = false;
  const uint16_t reg = static_cast<uint16_t>(frame[2] << 8 | frame[3]);
  std::optional<std::vector<uint8_t>> answer;
  if (frame[1] == kFunctionRead) {
    answer = Read(reg, now);
  } else {
    answer = Write(reg, frame.subspan(7, frame.size() - 9));
  }
  if (address == kBroadcastAddress) {
    // A broadcast is carried out but never answered, or the answers would collide.
    note_ += note_.empty() ? "broadcast" : ", broadcast";
    return std::nullopt;
  }
  return answer;
}

void ProtocolEngine::ApplyFaults(Answer& answer) {
  const int64_t n = ++answers_;
  std::vector<std::string> notes;
  if (answer.reading && !faults_.nanTargets.empty() && ++readings_ % faults_.nanEvery == 0) {
    ApplyNanTargets(answer.bytes.data() + 3, faults_.nanTargets);
    answer.bytes.resize(answer.bytes.size() - 2);
    AppendCrc(answer.bytes);
    notes.push_back("NaN fields");
  }
  if (faults_.truncateEvery > 0 && n % faults_.truncateEvery == 0) {
    answer.bytes.resize(answer.bytes.size() / 2);
    notes.push_back("truncated");
  } else if (faults_.crcEvery > 0 && n % faults_.crcEvery == 0) {
    answer.bytes.back() ^= 0x5A;
    notes.push_back("wrong CRC");
  }
  if (faults_.delaySeconds > 0 && n % faults_.delayEvery == 0) {
    answer.sendAt += faults_.delaySeconds;
    notes.push_back("delayed");
  }
  if (faults_.dropEvery > 0 && n % faults_.dropEvery == 0) notes.push_back("dropped");
  for (const std::string& note : notes) answer.note += (answer.note.empty() ? "" : ", ") + note;
}

std::vector<Answer> ProtocolEngine::Receive(std::span<const uint8_t> bytes, double now) {
  std::vector<Answer> answers;
  for (ParsedChunk& chunk : parser_.Feed(bytes, now)) {
    if (!chunk.valid) {
      if (log_ != nullptr) log_->Skipped(chunk.bytes);
      continue;
    }
    if (faults_.silent.Contains(now)) {
      if (log_ != nullptr) log_->Received(chunk.bytes, "silent, no answer");
      continue;
    }
    std::optional<std::vector<uint8_t>> bytesOut = Respond(chunk.bytes, now);
    if (log_ != nullptr) log_->Received(chunk.bytes, note_);
    if (!bytesOut) continue;
    Answer answer;
    answer.bytes = std::move(*bytesOut);
    answer.sendAt = now;
    answer.reading = answer.bytes.size() == static_cast<size_t>(kMeasurementSetSize) + 5 &&
                     answer.bytes[1] == kFunctionRead;
    ApplyFaults(answer);
    if (faults_.dropEvery > 0 && answers_ % faults_.dropEvery == 0) {
      if (log_ != nullptr) log_->NotSent(answer.bytes, answer.note);
      continue;
    }
    answers.push_back(std::move(answer));
  }
  return answers;
}
