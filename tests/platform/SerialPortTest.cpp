#include "platform/SerialPort.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/Termios2.h"
#include "support/PtyPair.h"

namespace {

constexpr int kPort = 3;

class SerialPortOverPty : public ::testing::Test {
 protected:
  void SetUp() override { ports.Link(kPort, pty.SlavePath()); }
  void TearDown() override {
    if (observer >= 0) ::close(observer);
  }
  // A second descriptor of the slave, opened before the port takes it exclusively, to
  // look at the tty's settings and buffer from outside.
  void OpenObserver() {
    observer = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(observer, 0);
  }

  ScopedPortDirectory ports;
  PtyPair pty;
  int observer = -1;
};

TEST_F(SerialPortOverPty, OpensByNumberRawAndPassesEveryByteBothWays) {
  auto port = SerialPort::Open(kPort);
  ASSERT_TRUE(port);
  EXPECT_EQ(port->DevicePath(), ports.EntryPath(kPort));

  // Line ends, interrupt, XON/XOFF and zero bytes: a cooked tty would change all of them.
  const std::vector<uint8_t> special = {'\r', '\n', 0x03, 0x11, 0x13, 0x00, 0x7F, 0xFF, 0x1A};
  ASSERT_TRUE(pty.WriteAll(special));
  ASSERT_TRUE(WaitUntil([&] { return port->InputQueued() == special.size(); }));
  std::vector<uint8_t> got(special.size());
  uint32_t read = 0;
  ASSERT_TRUE(port->Read(got.data(), 64, read));
  EXPECT_EQ(read, special.size());
  EXPECT_EQ(got, special);

  uint32_t written = 0;
  ASSERT_TRUE(port->Write(special.data(), static_cast<uint32_t>(special.size()), written));
  EXPECT_EQ(written, special.size());
  EXPECT_EQ(pty.ReadExactly(special.size()), special);
  // Nothing was echoed back into the input.
  EXPECT_EQ(port->InputQueued(), 0u);
}

TEST_F(SerialPortOverPty, OpenIsExclusiveAndTheProbeLeavesTheDeviceAlone) {
  EXPECT_TRUE(ProbeSerialPort(kPort));
  EXPECT_FALSE(ProbeSerialPort(kPort + 1));  // no entry
  errno = 0;
  EXPECT_FALSE(SerialPort::Open(kPort + 1));
  EXPECT_EQ(errno, ENOENT);

  {
    auto port = SerialPort::Open(kPort);
    ASSERT_TRUE(port);
    errno = 0;
    EXPECT_FALSE(SerialPort::Open(kPort));
    EXPECT_EQ(errno, EBUSY);
    EXPECT_FALSE(ProbeSerialPort(kPort));
  }
  EXPECT_TRUE(ProbeSerialPort(kPort));

  // Another program that holds the device locked keeps us out as well.
  const int other = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_FALSE(SerialPort::Open(kPort));
  EXPECT_FALSE(ProbeSerialPort(kPort));
  ::close(other);
  EXPECT_TRUE(SerialPort::Open(kPort));
}

TEST_F(SerialPortOverPty, ProbeChangesNoSetting) {
  OpenObserver();
  SerialLineSettings before;
  ASSERT_TRUE(TtyGetLineSettings(observer, before));
  ASSERT_TRUE(ProbeSerialPort(kPort));
  SerialLineSettings after;
  ASSERT_TRUE(TtyGetLineSettings(observer, after));
  EXPECT_EQ(after.baudRate, before.baudRate);
  EXPECT_EQ(after.xonXoffOutput, before.xonXoffOutput);
  // A link to something that is not a terminal is no port.
  const std::string file = ports.Path() + "/plain";
  { std::ofstream(file) << "x"; }
  ports.Link(9, file);
  EXPECT_FALSE(ProbeSerialPort(9));
  EXPECT_FALSE(SerialPort::Open(9));
}

// The application leaves a whole answer unread for up to 18 s; the tty alone would hold
// only about 4 KiB of it meanwhile.
TEST_F(SerialPortOverPty, QueuesAWholeAnswerWhileNobodyReads) {
  auto port = SerialPort::Open(kPort);
  ASSERT_TRUE(port);
  ASSERT_TRUE(port->SetupQueues(16384, 16384));
  const std::vector<uint8_t> answer = Pattern(8161);
  bool sent = false;
  std::thread instrument([&] { sent = pty.WriteAll(answer); });
  std::this_thread::sleep_for(std::chrono::seconds(1));
  instrument.join();
  ASSERT_TRUE(sent);
  ASSERT_TRUE(WaitUntil([&] { return port->InputQueued() == answer.size(); }));

  uint32_t errors = 99, queued = 0;
  ASSERT_TRUE(port->ClearError(errors, queued));
  EXPECT_EQ(errors, 0u);
  EXPECT_EQ(queued, answer.size());
  std::vector<uint8_t> got(16384);
  uint32_t read = 0;
  ASSERT_TRUE(port->Read(got.data(), queued, read));
  ASSERT_EQ(read, answer.size());
  got.resize(read);
  EXPECT_EQ(got, answer);
}

TEST_F(SerialPortOverPty, OverflowKeepsTheOldestBytesAndSetsTheOverflowBit) {
  auto port = SerialPort::Open(kPort);
  ASSERT_TRUE(port);
  ASSERT_TRUE(port->SetupQueues(16384, 16384));
  const std::vector<uint8_t> flood = Pattern(16384 + 5000, 7);
  ASSERT_TRUE(pty.WriteAll(flood));
  ASSERT_TRUE(WaitUntil([&] { return port->InputQueued() == 16384; }));
  uint32_t seen = 0, errors = 0, queued = 0;
  ASSERT_TRUE(WaitUntil([&] {
    port->ClearError(errors, queued);
    seen |= errors;
    return (seen & kSerialErrorQueueOverflow) != 0;
  }));
  EXPECT_EQ(queued, 16384u);

  std::vector<uint8_t> got(16384);
  uint32_t read = 0;
  ASSERT_TRUE(port->Read(got.data(), 20000, read));
  EXPECT_EQ(read, 16384u);
  EXPECT_TRUE(std::equal(got.begin(), got.end(), flood.begin()));
}

TEST_F(SerialPortOverPty, PurgeEmptiesTheQueue) {
  auto port = SerialPort::Open(kPort);
  ASSERT_TRUE(port);
  ASSERT_TRUE(pty.WriteAll(Pattern(300)));
  ASSERT_TRUE(WaitUntil([&] { return port->InputQueued() == 300; }));
  port->Purge(kPurgeInput | kPurgeOutput);
  EXPECT_EQ(port->InputQueued(), 0u);
  ASSERT_TRUE(pty.WriteAll(Pattern(5)));
  ASSERT_TRUE(WaitUntil([&] { return port->InputQueued() == 5; }));
}

SerialLineSettings Line(uint32_t rate, uint8_t bits, SerialParity parity, SerialStopBits stop,
                        bool cts = false, bool xon = false) {
  SerialLineSettings s;
  s.baudRate = rate;
  s.dataBits = bits;
  s.parity = parity;
  s.parityCheck = parity != SerialParity::None;
  s.stopBits = stop;
  s.ctsFlow = cts;
  s.rts = cts ? SerialLineControl::Handshake : SerialLineControl::Disable;
  s.xonXoffInput = s.xonXoffOutput = xon;
  return s;
}

TEST_F(SerialPortOverPty, SetsEveryRateIncludingTheNonStandardOnes) {
  OpenObserver();
  auto port = SerialPort::Open(kPort);
  ASSERT_TRUE(port);
  const SerialLineSettings cases[] = {
      Line(110, 8, SerialParity::None, SerialStopBits::One),
      Line(14400, 8, SerialParity::None, SerialStopBits::One),
      Line(56000, 7, SerialParity::Even, SerialStopBits::Two),
      Line(76800, 8, SerialParity::Odd, SerialStopBits::One, true),
      Line(115200, 6, SerialParity::Mark, SerialStopBits::One, false, true),
      Line(230400, 5, SerialParity::Space, SerialStopBits::Two),
      Line(9600, 8, SerialParity::None, SerialStopBits::One),
  };
  for (const SerialLineSettings& want : cases) {
    ASSERT_TRUE(port->SetLineSettings(want)) << want.baudRate;
    SerialLineSettings seen;  // as the device holds it, seen through another descriptor
    ASSERT_TRUE(TtyGetLineSettings(observer, seen));
    EXPECT_EQ(seen.baudRate, want.baudRate);
    // A pseudo-terminal keeps its characters at 8 bits without parity, whatever it is
    // told, so character size and parity cannot be seen here.
    EXPECT_EQ(seen.stopBits, want.stopBits) << want.baudRate;
    EXPECT_EQ(seen.parityCheck, want.parityCheck) << want.baudRate;
    EXPECT_EQ(seen.ctsFlow, want.ctsFlow) << want.baudRate;
    EXPECT_EQ(seen.xonXoffOutput, want.xonXoffOutput) << want.baudRate;
    EXPECT_EQ(seen.xonXoffInput, want.xonXoffInput) << want.baudRate;
    SerialLineSettings back;
    ASSERT_TRUE(port->GetLineSettings(back));
    EXPECT_EQ(back.baudRate, want.baudRate);
  }
  // Raw mode survives a change of settings: bytes still pass untouched.
  ASSERT_TRUE(pty.WriteAll({'\r', 0x03}));
  ASSERT_TRUE(WaitUntil([&] { return port->InputQueued() == 2; }));
}

TEST_F(SerialPortOverPty, APseudoTerminalHasNoModemLines) {
  auto port = SerialPort::Open(kPort);
  ASSERT_TRUE(port);
  SerialModemStatus status;
  EXPECT_FALSE(port->GetModemStatus(status));
  EXPECT_FALSE(port->SetDtr(true));
  EXPECT_FALSE(port->SetRts(false));
  // The settings still go through; the line levels are simply not there.
  EXPECT_TRUE(port->SetLineSettings(Line(9600, 8, SerialParity::None, SerialStopBits::One)));
}

// The far end going away is a lost port: queued bytes stay readable, the device is
// released at once (so a replugged device would get its name back), and nothing spins.
TEST_F(SerialPortOverPty, HangUpLosesThePortQuietly) {
  auto port = SerialPort::Open(kPort);
  ASSERT_TRUE(port);
  ASSERT_TRUE(pty.WriteAll(Pattern(10)));
  ASSERT_TRUE(WaitUntil([&] { return port->InputQueued() == 10; }));
  pty.CloseMaster();
  ASSERT_TRUE(WaitUntil([&] { return port->Lost(); }));
  // The pts node disappears once its last descriptor is closed: ours is released.
  EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(pty.SlavePath()); }));

  uint32_t errors = 0, queued = 0;
  EXPECT_TRUE(port->ClearError(errors, queued));
  EXPECT_EQ(queued, 10u);
  std::vector<uint8_t> got(10);
  uint32_t read = 0;
  EXPECT_TRUE(port->Read(got.data(), 10, read));
  EXPECT_EQ(got, Pattern(10));
  EXPECT_FALSE(port->Read(got.data(), 10, read));
  EXPECT_EQ(read, 0u);
  uint32_t written = 0;
  EXPECT_FALSE(port->Write(got.data(), 10, written));
  SerialModemStatus status;
  EXPECT_FALSE(port->GetModemStatus(status));
  EXPECT_FALSE(port->SetLineSettings(SerialLineSettings{}));
  port->Purge(kPurgeInput);
  port.reset();  // closing a lost port is fine

  // A new device under the same number opens as usual.
  PtyPair replugged;
  ports.Link(kPort, replugged.SlavePath());
  EXPECT_TRUE(SerialPort::Open(kPort));
}

TEST_F(SerialPortOverPty, RejectsQueueSizesOutsideTheRange) {
  auto port = SerialPort::Open(kPort);
  ASSERT_TRUE(port);
  EXPECT_FALSE(port->SetupQueues(0, 16384));
  EXPECT_FALSE(port->SetupQueues((1 << 20) + 1, 16384));
  EXPECT_TRUE(port->SetupQueues(1 << 20, 16384));
}

}  // namespace
