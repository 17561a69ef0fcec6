#include "link/LinkLog.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/WireFormat.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes WithCrc(Bytes frame) {
  const uint16_t crc = Crc16(frame.data(), frame.size());
  frame.push_back(static_cast<uint8_t>(crc));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
  return frame;
}

Bytes Reading() {
  Bytes frame{2, 0x03, 0xDC};
  frame.resize(3 + 8156, 0x11);
  return WithCrc(frame);
}

struct DecodeCase {
  const char* name;
  Bytes bytes;
  FrameDirection direction;
  const char* meaning;
};

const DecodeCase kDecodes[] = {
    {"read request", WithCrc({2, 0x03, 0, 41, 0, 2}), FrameDirection::Request,
     "addr 2, read, register 41, count 2, CRC ok"},
    {"block write", WithCrc({2, 0x10, 0, 28, 0, 5, 10, 10, 0, 1, 3, 15, 1, 1, 4, 4, 30}),
     FrameDirection::Request, "addr 2, write, register 28, 5 words, 10 bytes, CRC ok"},
    {"float write", WithCrc({1, 0x10, 0x03, 0x26, 0, 2, 4, 0, 0, 0xC0, 0x40}),
     FrameDirection::Request, "addr 1, write, register 806, 2 words, 4 bytes, CRC ok"},
    {"the reading", Reading(), FrameDirection::Answer, "addr 2, answer, 8156 bytes of 220, CRC ok"},
    {"the alarm block", WithCrc({2, 3, 52}), FrameDirection::Answer,
     "addr 2, answer, 0 bytes of 52, CRC ok"},
    {"a calibration value", WithCrc({2, 0x03, 4, 0, 0, 0xC0, 0x3F}), FrameDirection::Answer,
     "addr 2, answer, 4 bytes of 4, CRC ok"},
    {"acknowledgement", WithCrc({2, 0x09, 28, 0}), FrameDirection::Answer,
     "addr 2, write acknowledged, register 28, CRC ok"},
    {"exception", WithCrc({2, 0x83, 2}), FrameDirection::Answer,
     "addr 2, exception 2 to function 0x03, CRC ok"},
    {"bad CRC", Bytes{2, 0x09, 28, 0, 0x12, 0x34}, FrameDirection::Answer,
     "addr 2, write acknowledged, register 28, CRC bad"},
    {"truncated", Bytes{2, 0x03, 10}, FrameDirection::Answer,
     "addr 2, answer, 0 bytes of 10, too short for a CRC"},
    {"one byte", Bytes{7}, FrameDirection::Answer, "1 byte, too short for a frame"},
};

TEST(LinkLog, FramesAreDecoded) {
  for (const DecodeCase& c : kDecodes) {
    EXPECT_EQ(DescribeFrame(c.bytes, c.direction), c.meaning) << c.name;
  }
}

TEST(LinkLog, TheRingKeepsTheLastFramesWhole) {
  LinkLog log;
  const Bytes request = WithCrc({2, 0x03, 0, 41, 0, 2});
  for (size_t i = 0; i < LinkLog::kCapacity; ++i) log.Request(request);
  log.Answer(Reading(), FrameOutcome::Routed, 41);
  EXPECT_EQ(log.Size(), LinkLog::kCapacity);
  EXPECT_EQ(log.At(LinkLog::kCapacity - 1).Bytes.size(), 8161u) << "kept whole";
  EXPECT_EQ(log.At(0).Direction, FrameDirection::Request);
  EXPECT_EQ(log.Counters().Requests, LinkLog::kCapacity);
  EXPECT_EQ(log.Counters().BytesIn, 8161u);
  const QString line = FrameLine(log.At(LinkLog::kCapacity - 1));
  EXPECT_TRUE(line.contains(" RX 02 03 DC 11 11")) << line.left(60).toStdString();
  EXPECT_TRUE(line.endsWith("CRC ok; routed to register 41")) << line.right(60).toStdString();
  log.Clear();
  EXPECT_EQ(log.Size(), 0u);
}

TEST(LinkLog, CountersFollowTheOutcomes) {
  LinkLog log;
  const Bytes request = WithCrc({2, 0x03, 0, 41, 0, 2});
  log.Request(request);
  log.Answer(Bytes{2, 3, 0, 0, 0}, FrameOutcome::BadCrc, 41);
  log.CountRetry();
  log.Request(request);
  log.Answer(Bytes{2, 3}, FrameOutcome::WrongLength, 41);
  log.Request(request);
  LoggedFrame& answer = log.Answer(Reading(), 41);
  log.Settle(answer, FrameOutcome::Routed);
  const LinkCounters& c = log.Counters();
  EXPECT_EQ(c.Requests, 3u);
  EXPECT_EQ(c.Answers, 3u);
  EXPECT_EQ(c.CrcErrors, 1u);
  EXPECT_EQ(c.Malformed, 1u);
  EXPECT_EQ(c.Retries, 1u);
  EXPECT_EQ(c.RoundTrips, 1u);
  EXPECT_GE(c.LastRoundTripMs, 0);
  EXPECT_EQ(c.BytesOut, 3 * 8u);
  struct OutcomeCase {
    FrameOutcome outcome;
    const char* text;
    bool error;
  };
  const OutcomeCase outcomes[] = {
      {FrameOutcome::BadCrc, "dropped: bad CRC", true},
      {FrameOutcome::WrongLength, "dropped: wrong length", true},
      {FrameOutcome::NotRouted, "dropped: no pending request takes it", true},
      {FrameOutcome::LateAfterStop, "late after Stop", false},
  };
  for (const OutcomeCase& o : outcomes) {
    LoggedFrame frame;
    frame.Outcome = o.outcome;
    EXPECT_EQ(OutcomeText(frame), o.text);
    EXPECT_EQ(frame.IsError(), o.error) << o.text;
  }
  log.ResetCounters();
  EXPECT_EQ(log.Counters().Requests, 0u);
}

}  // namespace
