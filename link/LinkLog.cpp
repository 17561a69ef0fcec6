#include "link/LinkLog.h"

#include "display/WireFormat.h"

LinkLog::LinkLog() : ring_(kCapacity) {
  clock_.start();
}

LinkLog& TheLinkLog() {
  static LinkLog log;
  return log;
}

LoggedFrame& LinkLog::Next() {
  ++version_;
  if (size_ < kCapacity) return ring_[(first_ + size_++) % kCapacity];
  LoggedFrame& slot = ring_[first_];
  first_ = (first_ + 1) % kCapacity;
  return slot;
}

void LinkLog::Request(std::span<const uint8_t> bytes) {
  LoggedFrame& frame = Next();
  frame.TimeMs = clock_.elapsed();
  frame.Direction = FrameDirection::Request;
  frame.Outcome = FrameOutcome::Sent;
  frame.RoutedRegister = 0;
  frame.Bytes.assign(bytes.begin(), bytes.end());  // keeps the slot's room
  ++counters_.Requests;
  counters_.BytesOut += bytes.size();
  lastRequestMs_ = frame.TimeMs;
  if (onFrame) onFrame(frame);
}

void LinkLog::Answer(std::span<const uint8_t> bytes, FrameOutcome outcome,
                     uint16_t routedRegister) {
  Settle(Answer(bytes, routedRegister), outcome);
}

LoggedFrame& LinkLog::Answer(std::span<const uint8_t> bytes, uint16_t routedRegister) {
  LoggedFrame& frame = Next();
  frame.TimeMs = clock_.elapsed();
  frame.Direction = FrameDirection::Answer;
  frame.Outcome = FrameOutcome::Routed;
  frame.RoutedRegister = routedRegister;
  frame.Bytes.assign(bytes.begin(), bytes.end());  // keeps the slot's room
  ++counters_.Answers;
  counters_.BytesIn += bytes.size();
  if (lastRequestMs_ >= 0) counters_.LastRoundTripMs = frame.TimeMs - lastRequestMs_;
  return frame;
}

void LinkLog::Settle(LoggedFrame& frame, FrameOutcome outcome) {
  frame.Outcome = outcome;
  ++version_;
  if (outcome == FrameOutcome::BadCrc) ++counters_.CrcErrors;
  if (outcome == FrameOutcome::WrongLength || outcome == FrameOutcome::NotRouted) {
    ++counters_.Malformed;
  }
  if (outcome == FrameOutcome::Routed || outcome == FrameOutcome::LateAfterStop) {
    ++counters_.RoundTrips;
    counters_.MeanRoundTripMs +=
        (static_cast<double>(counters_.LastRoundTripMs) - counters_.MeanRoundTripMs) /
        static_cast<double>(counters_.RoundTrips);
  }
  if (onFrame) onFrame(frame);
}

void LinkLog::Clear() {
  first_ = size_ = 0;
  ++version_;
}

namespace {

QString CrcText(std::span<const uint8_t> b) {
  if (b.size() < 4) return "too short for a CRC";
  const uint16_t crc = Crc16(b.data(), b.size() - 2);
  const bool good = b[b.size() - 2] == (crc & 0xFF) && b[b.size() - 1] == (crc >> 8);
  return good ? "CRC ok" : "CRC bad";
}

uint16_t Word(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

}  // namespace

QString DescribeFrame(std::span<const uint8_t> b, FrameDirection direction) {
  if (b.size() < 2) return QString("%1 byte, too short for a frame").arg(b.size());
  QString text = QString("addr %1, ").arg(b[0]);
  const uint8_t function = b[1];
  if (direction == FrameDirection::Request) {
    if (function == 0x03 && b.size() >= 8) {
      text += QString("read, register %1, count %2").arg(Word(b, 2)).arg(Word(b, 4));
    } else if (function == 0x10 && b.size() >= 9) {
      text += QString("write, register %1, %2 words, %3 bytes")
                  .arg(Word(b, 2))
                  .arg(Word(b, 4))
                  .arg(b[6]);
    } else {
      text += QString("function 0x%1, %2 bytes").arg(function, 2, 16, QChar('0')).arg(b.size());
    }
  } else if (function & 0x80) {
    text += QString("exception %1 to function 0x%2")
                .arg(b.size() > 2 ? b[2] : 0)
                .arg(function & 0x7F, 2, 16, QChar('0'));
  } else if (function == 0x09 && b.size() >= 4) {
    text += QString("write acknowledged, register %1").arg(b[2] | b[3] << 8);
  } else if (function == 0x03 && b.size() >= 3) {
    text += QString("answer, %1 bytes of %2").arg(b.size() >= 5 ? b.size() - 5 : 0).arg(b[2]);
  } else {
    text += QString("function 0x%1, %2 bytes").arg(function, 2, 16, QChar('0')).arg(b.size());
  }
  return text + ", " + CrcText(b);
}

QString OutcomeText(const LoggedFrame& f) {
  switch (f.Outcome) {
    case FrameOutcome::Sent:
      return {};
    case FrameOutcome::Routed:
      return QString("routed to register %1").arg(f.RoutedRegister);
    case FrameOutcome::BadCrc:
      return "dropped: bad CRC";
    case FrameOutcome::WrongLength:
      return "dropped: wrong length";
    case FrameOutcome::NotRouted:
      return "dropped: no pending request takes it";
    case FrameOutcome::LateAfterStop:
      return "late after Stop";
  }
  return {};
}

QString FrameLine(const LoggedFrame& f) {
  QString hex;
  hex.reserve(static_cast<qsizetype>(f.Bytes.size()) * 3);
  static const char kDigits[] = "0123456789ABCDEF";
  for (uint8_t b : f.Bytes) {
    if (!hex.isEmpty()) hex += ' ';
    hex += QChar(kDigits[b >> 4]);
    hex += QChar(kDigits[b & 0xF]);
  }
  QString line = QString("%1 %2 %3 | %4")
                     .arg(f.TimeMs, 9)
                     .arg(f.Direction == FrameDirection::Request ? "TX" : "RX")
                     .arg(hex, DescribeFrame(f.Bytes, f.Direction));
  const QString outcome = OutcomeText(f);
  if (!outcome.isEmpty()) line += "; " + outcome;
  return line;
}
