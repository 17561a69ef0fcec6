#pragma once
// The instrument's side of the serial protocol: takes the bytes from the line, answers
// each request for its address from the register map, stores what is written and
// acknowledges it, and applies the planned faults to the answers.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/FaultPlan.h"
#include "sim/FrameParser.h"

class FrameLog;
class SimulatedMeter;

struct Answer {
  std::vector<uint8_t> bytes;
  double sendAt = 0;     // seconds since start-up
  bool reading = false;  // the all-channels answer
  std::string note;      // faults applied, for the log
};

// Registers with their own meaning besides the blocks.
inline constexpr uint16_t kRegisterCalibrationBand = 30;
inline constexpr uint16_t kRegisterUnlock = 801;
inline constexpr uint16_t kRegisterTemperature = 814;
inline constexpr uint8_t kUnlockCommand = 0xC6;
inline constexpr uint8_t kBroadcastAddress = 0;

// Modbus exception codes of the answers to requests the instrument cannot serve.
inline constexpr uint8_t kIllegalAddress = 0x02;
inline constexpr uint8_t kIllegalValue = 0x03;

class ProtocolEngine {
 public:
  ProtocolEngine(SimulatedMeter& meter, uint8_t address, FaultPlan faults, FrameLog* log);

  // Handles the bytes received at `now` (none to let stale input expire) and returns the
  // answers to send, faults applied.
  std::vector<Answer> Receive(std::span<const uint8_t> bytes, double now);

  // The answer to one request frame with a right CRC, before faults; nothing when the
  // frame gets no answer (another address, a broadcast, the leave notice).
  std::optional<std::vector<uint8_t>> Respond(std::span<const uint8_t> frame, double now);

  const FaultPlan& Faults() const { return faults_; }
  // Set by the leave notice (register 44), cleared by the next request.
  bool HostLeft() const { return hostLeft_; }
  // Forgets half-received input, as when the line is unplugged.
  void ResetLine() { parser_.Clear(); }

 private:
  std::optional<std::vector<uint8_t>> Read(uint16_t reg, double now);
  std::optional<std::vector<uint8_t>> Write(uint16_t reg, std::span<const uint8_t> data);
  std::vector<uint8_t> ReadAnswer(const void* payload, size_t length) const;
  std::vector<uint8_t> Acknowledge(uint16_t reg) const;
  std::vector<uint8_t> Exception(uint8_t function, uint8_t code) const;
  void ApplyFaults(Answer& answer);

  SimulatedMeter& meter_;
  uint8_t address_;
  FaultPlan faults_;
  FrameLog* log_;
  FrameParser parser_;
  bool hostLeft_ = false;
  std::string note_;  // what Respond made of the last frame, for the log
  int64_t answers_ = 0;
  int64_t readings_ = 0;
};

// Appends the CRC-16 of the bytes so far, low byte first.
void AppendCrc(std::vector<uint8_t>& frame);
