#include "sim/FrameLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>

FrameLog::FrameLog(std::ostream& out, Clock clock) : out_(out), clock_(std::move(clock)) {}

std::string HexBytes(std::span<const uint8_t> bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

std::string FrameLog::LocalTimeStamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(millis));
  return text;
}

void FrameLog::Line(std::string_view tag, std::span<const uint8_t> bytes, std::string_view note) {
  out_ << clock_() << ' ' << tag;
  if (!bytes.empty()) out_ << ' ' << HexBytes(bytes);
  if (!note.empty()) out_ << " [" << note << ']';
  out_ << '\n';
  out_.flush();
}

void FrameLog::Received(std::span<const uint8_t> frame, std::string_view note) {
  Line("RX", frame, note);
}

void FrameLog::Skipped(std::span<const uint8_t> bytes) {
  Line("RX?", bytes, "no valid frame, skipped");
}

void FrameLog::Sent(std::span<const uint8_t> frame, std::string_view note) {
  Line("TX", frame, note);
}

void FrameLog::NotSent(std::span<const uint8_t> frame, std::string_view note) {
  Line("NOTX", frame, note);
}

void FrameLog::Event(std::string_view text) {
  Line("--", {}, text);
}
