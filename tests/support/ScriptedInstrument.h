#pragma once
// A small instrument on the master end of a pseudo-terminal: it takes the read requests
// the application sends and answers them on the user-interface thread, following a
// script for the all-channels reading (answer, stay silent, answer with a bad CRC, or
// hold the answer until the test releases it).

#include <QObject>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "display/ConfigBlocks.h"
#include "display/MeasurementModel.h"
#include "link/Frames.h"
#include "support/PtyPair.h"

class ScriptedInstrument : public QObject {
 public:
  enum class Reply { Answer, Ignore, CorruptCrc, Hold };
  struct Request {
    uint16_t reg;
    uint16_t count;
    bool operator==(const Request&) const = default;
  };

  explicit ScriptedInstrument(PtyPair& pty, uint8_t address = 1)
      : pty_(pty), address_(address), notifier_(pty.Master(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, [this] { OnReadable(); });
  }

  std::deque<Reply> script;  // one entry per all-channels request; empty: answer
  std::vector<Request> requests;
  size_t lastAnswerSize = 0;

  bool HasHeld() const { return held_.has_value(); }
  void ReleaseHeld() {
    if (held_) SendReading(false);
    held_.reset();
  }
  // The channel 1 TRMS voltage of the n-th reading sent (0-based): 100 + n.
  static float VoltageOfReading(int n) { return 100.0f + static_cast<float>(n); }

 private:
  void OnReadable() {
    uint8_t chunk[512];
    const ssize_t n = ::read(pty_.Master(), chunk, sizeof chunk);
    if (n < 0 && errno == EIO) notifier_.setEnabled(false);  // slave closed
    if (n <= 0) return;
    input_.insert(input_.end(), chunk, chunk + n);
    while (input_.size() >= 8) {
      const uint16_t crc = Crc16(input_.data(), 6);
      if (input_[1] != kFunctionRead || input_[6] != (crc & 0xFF) || input_[7] != (crc >> 8)) {
        input_.erase(input_.begin());  // not a request start: resynchronise
        continue;
      }
      const Request request{static_cast<uint16_t>(input_[2] << 8 | input_[3]),
                            static_cast<uint16_t>(input_[4] << 8 | input_[5])};
      input_.erase(input_.begin(), input_.begin() + 8);
      requests.push_back(request);
      Answer(request);
    }
  }

  void Answer(const Request& request) {
    if (request.reg == kRegisterAlarms) {
      AlarmBlockData block{};
      block.AlarmMode = 1;
      SendFrame(reinterpret_cast<const uint8_t*>(&block), sizeof block, false);
      return;
    }
    if (request.reg != kRegisterAllChannels) return;
    const Reply reply = script.empty() ? Reply::Answer : script.front();
    if (!script.empty()) script.pop_front();
    if (reply == Reply::Ignore) return;
    if (reply == Reply::Hold) {
      held_ = request;
      return;
    }
    SendReading(reply == Reply::CorruptCrc);
  }

  void SendReading(bool corrupt) {
    MeasurementSet set{};
    set.Channel[0].VoltageTrms = VoltageOfReading(readings_++);
    SendFrame(reinterpret_cast<const uint8_t*>(&set), sizeof set, corrupt);
  }

  void SendFrame(const uint8_t* payload, size_t size, bool corrupt) {
    std::vector<uint8_t> frame = {address_, kFunctionRead, static_cast<uint8_t>(size & 0xFF)};
    frame.insert(frame.end(), payload, payload + size);
    const uint16_t crc = Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>((crc >> 8) ^ (corrupt ? 0x5A : 0)));
    lastAnswerSize = frame.size();
    pty_.WriteAll(frame);
  }

  PtyPair& pty_;
  uint8_t address_;
  QSocketNotifier notifier_;
  std::vector<uint8_t> input_;
  std::optional<Request> held_;
  int readings_ = 0;
};
