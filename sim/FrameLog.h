#pragma once
// The --log file: one line per frame received or sent, in hex, with a time stamp.
//   2024-05-01 14:03:07.512 RX 02 03 00 29 00 02 14 3A
//   2024-05-01 14:03:07.513 TX 02 03 DC 00 ... (8161 bytes)
// RX? marks bytes that form no valid frame; NOTX an answer a fault kept back; a note in
// brackets says what the instrument made of a frame.

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

class FrameLog {
 public:
  using Clock = std::function<std::string()>;

  explicit FrameLog(std::ostream& out, Clock clock = LocalTimeStamp);

  void Received(std::span<const uint8_t> frame, std::string_view note = {});
  void Skipped(std::span<const uint8_t> bytes);
  void Sent(std::span<const uint8_t> frame, std::string_view note = {});
  void NotSent(std::span<const uint8_t> frame, std::string_view note);
  void Event(std::string_view text);

  // "YYYY-MM-DD hh:mm:ss.mmm", local time.
  static std::string LocalTimeStamp();

 private:
  void Line(std::string_view tag, std::span<const uint8_t> bytes, std::string_view note);

  std::ostream& out_;
  Clock clock_;
};

std::string HexBytes(std::span<const uint8_t> bytes);
