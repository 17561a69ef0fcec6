#include "link/TComm.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStringList>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/Termios2.h"
#include "support/PtyPair.h"

namespace {

constexpr int kPort = 5;
using Bytes = std::vector<uint8_t>;

Bytes Taken(std::span<const uint8_t> bytes) {
  return Bytes(bytes.begin(), bytes.end());
}

class TCommOverPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ports.Link(kPort, pty.SlavePath());
    previousBox_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
    comm.SetCommPort(ComPortOfNumber(kPort));
  }
  void TearDown() override {
    SetMessageBoxHandler(previousBox_);
    if (observer >= 0) ::close(observer);
  }
  // A second descriptor of the slave, taken before the component opens it exclusively.
  void OpenObserver() {
    observer = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(observer, 0);
  }
  SerialLineSettings Seen() {
    SerialLineSettings s;
    EXPECT_TRUE(TtyGetLineSettings(observer, s));
    return s;
  }
  // Sends bytes from the far end and waits until they are queued, without polling.
  void Send(const Bytes& bytes) {
    const uint32_t before = comm.DataCount();
    ASSERT_TRUE(pty.WriteAll(bytes));
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.DataCount() == before + bytes.size(); }));
  }

  ScopedPortDirectory ports;
  PtyPair pty;
  TComm comm;
  QStringList boxes;
  int observer = -1;

 private:
  MessageBoxHandler previousBox_;
};

TEST(TComm, StartsClosedWithTheComponentDefaults) {
  TComm comm;
  EXPECT_EQ(comm.CommPort(), pnCOM2);
  EXPECT_FALSE(comm.PortOpen());
  EXPECT_EQ(comm.BaudRate(), br9600);
  EXPECT_EQ(comm.HwHandShaking(), hhNone);
  EXPECT_EQ(comm.SwHandShaking(), shNone);
  EXPECT_EQ(comm.DataBits(), DB8);
  EXPECT_EQ(comm.Parity(), TParity::None);
  EXPECT_EQ(comm.StopBits(), SB1);
  EXPECT_EQ(comm.InputLen(), 0u);
  EXPECT_EQ(comm.RThreshold(), 0u);
  EXPECT_FALSE(comm.DTREnabled() || comm.RTSEnabled());
  EXPECT_FALSE(comm.CDHolding() || comm.CTSHolding() || comm.DSRHolding() || comm.RIHolding());
  EXPECT_EQ(comm.DataCount(), 0u);
  EXPECT_TRUE(comm.Input().isEmpty());
  EXPECT_EQ(PortNumberOf(pnCOM12), 12);
  EXPECT_EQ(PortNumberOf(pnCOM255), 255);
}

TEST(TComm, BaudRateOrdinalsMapToTheirRates) {
  const uint32_t rates[] = {110,   300,   600,   1200,  2400,  4800,   9600,  14400,
                            19200, 38400, 56000, 57600, 76800, 115200, 230400};
  for (int i = 0; i <= br230400; ++i)
    EXPECT_EQ(BaudRateValue(static_cast<TBaudRate>(i)), rates[i]) << i;
}

TEST(TComm, ModemLinesReportTheirChanges) {
  SerialModemStatus held;
  SerialModemStatus now;
  now.carrierDetect = now.cts = true;
  EXPECT_EQ(TrackModemLines(held, now), 0x28u);
  EXPECT_TRUE(held.carrierDetect && held.cts);
  EXPECT_EQ(TrackModemLines(held, now), 0u);
  now = {.cts = false, .dsr = true, .ring = true, .carrierDetect = false};
  EXPECT_EQ(TrackModemLines(held, now), 0x08u | 0x10u | 0x100u | 0x20u);
}

TEST_F(TCommOverPty, OpensWritesByteForByteAndCloses) {
  comm.SetPortOpen(true);
  ASSERT_TRUE(comm.PortOpen());
  const Bytes frame = {0x01, 0x03, 0x00, 0x29, 0x00, 0x02, 0x15, 0xC3, 0x0A, 0x0D, 0x00};
  EXPECT_TRUE(comm.WriteBytes(frame.data(), static_cast<uint32_t>(frame.size())));
  EXPECT_EQ(pty.ReadExactly(frame.size()), frame);

  comm.SetPortOpen(true);
  EXPECT_TRUE(comm.PortOpen());
  EXPECT_EQ(boxes, QStringList{"COM Port has been opened!"});

  comm.SetPortOpen(false);
  EXPECT_FALSE(comm.PortOpen());
  comm.SetPortOpen(false);
  EXPECT_FALSE(comm.WriteBytes(frame.data(), 4));
  EXPECT_EQ(boxes.last(), "COM Port is not opened yet!");
  EXPECT_TRUE(ProbeSerialPort(kPort)) << "closing releases the device";
}

TEST_F(TCommOverPty, OpensThePortNumberOneAboveTheOrdinal) {
  ports.Link(12, pty.SlavePath());
  ports.Link(kPort, ports.Path() + "/absent");
  comm.SetCommPort(pnCOM12);
  comm.SetPortOpen(true);
  EXPECT_TRUE(comm.PortOpen());
  EXPECT_FALSE(ProbeSerialPort(12)) << "held by the component";
}

TEST_F(TCommOverPty, MissingPortRaisesECommErrorAndStaysClosed) {
  comm.SetCommPort(ComPortOfNumber(kPort + 1));
  try {
    comm.SetPortOpen(true);
    FAIL() << "no error";
  } catch (const ECommError& error) {
    EXPECT_EQ(error.Text(), "通讯出现异常！请检查连接是否正确或重新启动程序和仪器。");
  }
  EXPECT_FALSE(comm.PortOpen());
  // Uncaught, the general handler shows it.
  EXPECT_FALSE(RunHandler([&] { comm.SetPortOpen(true); }));
  EXPECT_EQ(boxes, QStringList{QString::fromUtf8(kCommOpenFailedText)});
}

TEST_F(TCommOverPty, APortAlreadyHeldIsRefused) {
  comm.SetPortOpen(true);
  TComm other;
  other.SetCommPort(ComPortOfNumber(kPort));
  EXPECT_THROW(other.SetPortOpen(true), ECommError);
  EXPECT_FALSE(other.PortOpen());
  EXPECT_TRUE(comm.PortOpen());
  comm.SetPortOpen(false);
  other.SetPortOpen(true);
  EXPECT_TRUE(other.PortOpen());
}

// The box keeps its text and says why: a port another program holds, a device the user may
// not open.
TEST_F(TCommOverPty, TheOpenFailureSaysWhy) {
  comm.SetPortOpen(true);
  TComm other;
  other.SetCommPort(ComPortOfNumber(kPort));
  try {
    other.SetPortOpen(true);
    FAIL() << "no error";
  } catch (const ECommError& error) {
    EXPECT_TRUE(error.Text().startsWith(QString::fromUtf8(kCommOpenFailedText)));
    EXPECT_TRUE(error.Text().contains("is in use by another program"))
        << error.Text().toStdString();
    EXPECT_TRUE(error.Text().contains(QString::fromStdString(pty.SlavePath())));
  }
  comm.SetPortOpen(false);

  const QString denied = OpenFailureReason(kPort, EACCES);
  EXPECT_TRUE(denied.contains("Permission denied on " + QString::fromStdString(pty.SlavePath())));
  EXPECT_TRUE(denied.contains("sudo usermod -aG")) << denied.toStdString();
  EXPECT_TRUE(OpenFailureReason(kPort, ENOENT).isEmpty());
  if (geteuid() == 0) GTEST_SKIP() << "running as root, which opens any device";
  ASSERT_EQ(::chmod(pty.SlavePath().c_str(), 0), 0);
  try {
    other.SetPortOpen(true);
    FAIL() << "no error";
  } catch (const ECommError& error) {
    EXPECT_TRUE(error.Text().contains("Permission denied")) << error.Text().toStdString();
  }
}

TEST_F(TCommOverPty, ReceiveEventFollowsTheThreshold) {
  int events = 0;
  comm.OnReceiveData = [&](TComm* sender) {
    EXPECT_EQ(sender, &comm);
    ++events;
  };
  comm.SetPortOpen(true);
  comm.SetRThreshold(1);
  comm.PollTimer();
  EXPECT_EQ(events, 0) << "nothing queued";
  Send({1, 2, 3});
  comm.PollTimer();
  EXPECT_EQ(events, 1);
  comm.PollTimer();
  EXPECT_EQ(events, 2) << "again while the bytes stay queued";
  comm.ReadInputBytes();
  comm.PollTimer();
  EXPECT_EQ(events, 2);

  comm.SetRThreshold(5);
  Send({4, 5, 6});
  comm.PollTimer();
  EXPECT_EQ(events, 2) << "below the threshold";
  Send({7, 8});
  comm.PollTimer();
  EXPECT_EQ(events, 3);

  comm.SetRThreshold(0);
  comm.PollTimer();
  comm.PollTimer();
  EXPECT_EQ(events, 3) << "0 switches the event off";
}

TEST_F(TCommOverPty, PollTimerRaisesTheEventOnItsOwn) {
  Bytes got;
  comm.OnReceiveData = [&](TComm* sender) {
    const auto bytes = sender->ReadInputBytes();
    got.insert(got.end(), bytes.begin(), bytes.end());
  };
  comm.SetRThreshold(1);
  comm.SetPortOpen(true);
  ASSERT_TRUE(pty.WriteAll(Pattern(700)));
  ASSERT_TRUE(WaitUntil([&] { return got.size() >= 700; }));
  EXPECT_EQ(got, Pattern(700));
}

TEST_F(TCommOverPty, InputStopsAtTheFirstZeroByteReadInputBytesKeepsAll) {
  comm.SetPortOpen(true);
  Send({'A', 'B', 0, 'C', 'D'});
  EXPECT_EQ(Taken(comm.ReadInputBytes()), (Bytes{'A', 'B', 0, 'C', 'D'}));
  EXPECT_EQ(comm.Input(), QByteArray("AB")) << "nothing new queued: the last read stays";

  comm.SetInputLen(2);
  Send({'x', 'y', 'z'});
  EXPECT_EQ(comm.Input(), QByteArray("xy"));
  EXPECT_EQ(comm.DataCount(), 1u);
  EXPECT_EQ(Taken(comm.ReadInputBytes()), (Bytes{'z'}));

  comm.SetPortOpen(false);
  EXPECT_EQ(Taken(comm.ReadInputBytes()), (Bytes{'z'})) << "closed: previous input, no device";
}

TEST_F(TCommOverPty, MoreThanTheBufferQueuedIsPurged) {
  comm.SetDriverQueueSize(20000);
  comm.SetPortOpen(true);
  Send({9, 9});
  ASSERT_EQ(comm.ReadInputBytes().size(), 2u);
  ASSERT_TRUE(pty.WriteAll(Pattern(16385)));
  ASSERT_TRUE(WaitWithoutEvents([&] { return comm.DataCount() == 16385; }));
  EXPECT_EQ(Taken(comm.ReadInputBytes()), (Bytes{9, 9})) << "the input keeps its value";
  EXPECT_EQ(comm.DataCount(), 0u);

  ASSERT_TRUE(pty.WriteAll(Pattern(16384, 3)));
  ASSERT_TRUE(WaitWithoutEvents([&] { return comm.DataCount() == 16384; }));
  EXPECT_EQ(Taken(comm.ReadInputBytes()), Pattern(16384, 3)) << "exactly a buffer is read";
}

TEST_F(TCommOverPty, WritingZeroToDataCountPurges) {
  comm.SetPortOpen(true);
  Send({1, 2, 3, 4});
  comm.SetDataCount(3);
  EXPECT_EQ(comm.DataCount(), 4u);
  comm.SetDataCount(0);
  EXPECT_EQ(comm.DataCount(), 0u);
}

TEST_F(TCommOverPty, LineSettingsAreAppliedAtOpenAndAgainOnlyOnAChange) {
  OpenObserver();
  comm.SetBaudRate(br76800);  // closed: only stored
  comm.SetPortOpen(true);
  EXPECT_EQ(Seen().baudRate, 76800u);
  EXPECT_FALSE(Seen().ctsFlow);

  // Someone else changes the line; setting the same values again leaves it so.
  SerialLineSettings outside = Seen();
  outside.baudRate = 300;
  ASSERT_TRUE(TtySetLineSettings(observer, outside));
  comm.SetBaudRate(br76800);
  comm.SetStopBits(SB1);
  comm.SetHwHandShaking(hhNone);
  EXPECT_EQ(Seen().baudRate, 300u);

  comm.SetBaudRate(br14400);
  EXPECT_EQ(Seen().baudRate, 14400u);
  comm.SetStopBits(SB2);
  EXPECT_EQ(Seen().stopBits, SerialStopBits::Two);
  comm.SetHwHandShaking(hhRTSCTS);
  EXPECT_TRUE(Seen().ctsFlow);
  comm.SetSwHandShaking(shXonXoff);
  EXPECT_TRUE(Seen().xonXoffOutput && Seen().xonXoffInput);
  comm.SetParity(TParity::Even);
  EXPECT_TRUE(Seen().parityCheck);
  comm.SetHwHandShaking(hhNoneRTSON);
  comm.SetSwHandShaking(shNone);
  EXPECT_FALSE(Seen().ctsFlow || Seen().xonXoffOutput);
  EXPECT_EQ(Seen().baudRate, 14400u);
}

TEST_F(TCommOverPty, DtrAndRtsNeedAnOpenPort) {
  comm.SetDTREnabled(true);
  comm.SetRTSEnabled(true);
  EXPECT_FALSE(comm.DTREnabled() || comm.RTSEnabled());
  comm.SetPortOpen(true);
  comm.SetDTREnabled(true);
  comm.SetRTSEnabled(true);
  EXPECT_TRUE(comm.DTREnabled() && comm.RTSEnabled());
}

// A pseudo-terminal has no modem lines: the status read fails and the component just
// reports no change, without boxes or events.
TEST_F(TCommOverPty, NoModemLinesMeansNoModemEvents) {
  int modemEvents = 0;
  comm.OnModemStateChange = [&](TComm*, uint32_t) { ++modemEvents; };
  comm.SetPortOpen(true);
  for (int i = 0; i < 3; ++i) comm.PollTimer();
  EXPECT_EQ(comm.CommEvent(), 0u);
  EXPECT_EQ(modemEvents, 0);
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(TCommOverPty, FarEndGoingAwayNeitherCrashesNorStormsNorHangs) {
  int dataEvents = 0, errorEvents = 0, modemEvents = 0;
  comm.OnReceiveData = [&](TComm* sender) {
    ++dataEvents;
    sender->ReadInputBytes();
  };
  comm.OnReceiveError = [&](TComm*, uint32_t) { ++errorEvents; };
  comm.OnModemStateChange = [&](TComm*, uint32_t) { ++modemEvents; };
  comm.SetRThreshold(1);
  comm.SetPortOpen(true);
  pty.CloseMaster();
  ASSERT_TRUE(WaitUntil([&] { return comm.PortLost(); }));
  for (int i = 0; i < 5; ++i) comm.PollTimer();
  EXPECT_EQ(dataEvents + errorEvents + modemEvents, 0);
  EXPECT_TRUE(comm.PortOpen()) << "open until closed, as a handle to a removed device";
  const Bytes frame = {1, 3, 0, 41, 0, 2, 0x15, 0xC3};
  EXPECT_TRUE(comm.WriteBytes(frame.data(), 8));
  EXPECT_TRUE(boxes.isEmpty());
  comm.SetPortOpen(false);

  PtyPair replugged;
  ports.Link(kPort, replugged.SlavePath());
  comm.SetPortOpen(true);
  EXPECT_TRUE(comm.WriteBytes(frame.data(), 8));
  EXPECT_EQ(replugged.ReadExactly(8), frame);
}

TEST(TComm, StopsBeingTheRequestPortWhenDestroyed) {
  auto comm = std::make_unique<TComm>();
  SetLinkPort(comm.get());
  comm.reset();
  EXPECT_EQ(CurrentLinkPort(), nullptr);
}

}  // namespace
