#include "link/Frames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "support/FakeLinkPort.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(Crc16, CheckValueOfTheModbusVariant) {
  const char* text = "123456789";
  EXPECT_EQ(Crc16(reinterpret_cast<const uint8_t*>(text), 9), 0x4B37);
}

TEST(Crc16, SingleByte) {
  const uint8_t zero = 0;
  EXPECT_EQ(Crc16(&zero, 1), 0x40BF);
}

struct FrameCase {
  const char* name;
  std::function<bool()> send;
  Bytes frame;
  bool keepsPending;  // a write-float leaves PendingRequest alone
};

Bytes TenZeroBlockFrame() {
  Bytes frame = {0x01, 0x10, 0x00, 0x1C, 0x00, 0x05, 0x0A};
  frame.insert(frame.end(), 10, 0x00);
  frame.push_back(0x1C);
  frame.push_back(0x24);
  return frame;
}

const uint8_t kZeroBlock[kMaxBlockBytes] = {};

std::vector<FrameCase> FrameCases() {
  return {
      {"read all channels",
       [] { return SendReadRequest(1, 41, 2); },
       {0x01, 0x03, 0x00, 0x29, 0x00, 0x02, 0x15, 0xC3},
       false},
      {"read alarm block",
       [] { return SendReadRequest(1, 1, 52); },
       {0x01, 0x03, 0x00, 0x01, 0x00, 0x34, 0x15, 0xDD},
       false},
      {"read setup block",
       [] { return SendReadRequest(1, 28, 10); },
       {0x01, 0x03, 0x00, 0x1C, 0x00, 0x0A, 0x04, 0x0B},
       false},
      {"write float 220.05",
       [] { return SendWriteFloat(1, 802, 220.05f); },
       {0x01, 0x10, 0x03, 0x22, 0x00, 0x02, 0x04, 0xCD, 0x0C, 0x5C, 0x43, 0xE2, 0xC0},
       true},
      {"write command 1",
       [] { return SendWriteCommand(1, 814, 1); },
       {0x01, 0x10, 0x03, 0x2E, 0x00, 0x02, 0x04, 0x01, 0x00, 0x00, 0x00, 0x65, 0x37},
       false},
      {"write ten-byte block", [] { return SendWriteBlock(1, 28, kZeroBlock, 10); },
       TenZeroBlockFrame(), false},
  };
}

TEST(Frames, WorkedExamplesByteForByte) {
  for (const FrameCase& c : FrameCases()) {
    SCOPED_TRACE(c.name);
    FakeLinkPort port;
    ScopedLinkPort scoped(&port);
    std::memset(PendingRequest, 0xEE, sizeof PendingRequest);
    ASSERT_TRUE(c.send());
    ASSERT_EQ(port.writes.size(), 1u) << "one write per frame";
    EXPECT_EQ(port.writes[0], c.frame);
    if (c.keepsPending) {
      EXPECT_EQ(PendingRequest[0], 0xEE);
      EXPECT_EQ(PendingRequest[2], 0xEE);
    } else {
      EXPECT_EQ(Bytes(PendingRequest, PendingRequest + c.frame.size()), c.frame);
    }
  }
}

TEST(Frames, ClosedPortSendsNothingAndKeepsPendingRequest) {
  for (const FrameCase& c : FrameCases()) {
    SCOPED_TRACE(c.name);
    FakeLinkPort port;
    port.open = false;
    ScopedLinkPort scoped(&port);
    std::memset(PendingRequest, 0x5A, sizeof PendingRequest);
    EXPECT_FALSE(c.send());
    EXPECT_TRUE(port.writes.empty());
    for (uint8_t b : PendingRequest) ASSERT_EQ(b, 0x5A);
  }
}

TEST(Frames, NoPortAtAllIsAClosedPort) {
  ScopedLinkPort scoped(nullptr);
  EXPECT_FALSE(SendReadRequest(1, 41, 2));
}

TEST(Frames, WriteFloatLeavesTheRoutingKeyOfThePreviousRead) {
  FakeLinkPort port;
  ScopedLinkPort scoped(&port);
  SendReadRequest(2, 41, 2);
  SendWriteFloat(2, 815, 3.5f);
  EXPECT_EQ(PendingRequest[2], 0x00);
  EXPECT_EQ(PendingRequest[3], 41);
}

TEST(Frames, FloatBytesAreLeastSignificantFirst) {
  FakeLinkPort port;
  ScopedLinkPort scoped(&port);
  SendWriteFloat(1, 802, 1.0f);
  EXPECT_EQ(Bytes(port.writes[0].begin() + 7, port.writes[0].begin() + 11),
            (Bytes{0x00, 0x00, 0x80, 0x3F}));
}

struct BlockCase {
  int length;
  uint8_t quantity;
};

TEST(Frames, WriteBlockQuantityIsHalfTheLengthRoundedDown) {
  const BlockCase cases[] = {{1, 0}, {2, 1}, {10, 5}, {51, 25}, {52, 26}, {64, 32}};
  uint8_t data[kMaxBlockBytes];
  for (int i = 0; i < kMaxBlockBytes; ++i) data[i] = static_cast<uint8_t>(i + 1);
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.length);
    FakeLinkPort port;
    ScopedLinkPort scoped(&port);
    ASSERT_TRUE(SendWriteBlock(7, 30, data, c.length));
    const Bytes& frame = port.writes.at(0);
    ASSERT_EQ(frame.size(), static_cast<size_t>(c.length + 9));
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 7),
              (Bytes{7, 0x10, 0x00, 0x1E, 0x00, c.quantity, static_cast<uint8_t>(c.length)}));
    EXPECT_EQ(Bytes(frame.begin() + 7, frame.end() - 2), Bytes(data, data + c.length));
    const uint16_t crc = Crc16(frame.data(), frame.size() - 2);
    EXPECT_EQ(frame[frame.size() - 2], crc & 0xFF);
    EXPECT_EQ(frame[frame.size() - 1], crc >> 8);
  }
}

TEST(Frames, BytesToFloatReadsLeastSignificantByteFirst) {
  const uint8_t one[4] = {0x00, 0x00, 0x80, 0x3F};
  const uint8_t value[4] = {0xCD, 0x0C, 0x5C, 0x43};
  EXPECT_EQ(BytesToFloat(one), 1.0f);
  EXPECT_EQ(BytesToFloat(value), 220.05f);
}

}  // namespace
