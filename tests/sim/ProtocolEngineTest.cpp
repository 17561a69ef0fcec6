#include "sim/ProtocolEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <sstream>

#include "display/ConfigBlocks.h"
#include "link/Dispatcher.h"
#include "link/Frames.h"
#include "link/LinkState.h"
#include "platform/Sleep.h"
#include "sim/FrameLog.h"
#include "sim/SimulatedMeter.h"
#include "support/FakeLinkPort.h"
#include "support/FakeLinkView.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint8_t kAddress = 2;

// The frame the application's own builder sends.
Bytes Request(const std::function<bool()>& send) {
  FakeLinkPort port;
  ScopedLinkPort scoped(&port);
  EXPECT_TRUE(send());
  return port.writes.empty() ? Bytes() : port.writes.back();
}

Bytes Read(uint16_t reg, uint16_t count, uint8_t address = kAddress) {
  return Request([=] { return SendReadRequest(address, reg, count); });
}

Bytes WriteFloat(uint16_t reg, float value) {
  return Request([=] { return SendWriteFloat(kAddress, reg, value); });
}

Bytes WriteBlock(uint16_t reg, const void* data, int length) {
  uint8_t block[kMaxBlockBytes] = {};
  std::memcpy(block, data, static_cast<size_t>(length));
  return Request([&] { return SendWriteBlock(kAddress, reg, block, length); });
}

bool CrcIsRight(const Bytes& frame) {
  if (frame.size() < 3) return false;
  const uint16_t crc = Crc16(frame.data(), frame.size() - 2);
  return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

struct Instrument {
  explicit Instrument(FaultPlan faults = {}, const char* scenario = "balanced")
      : meter(*FindScenario(scenario), 5), engine(meter, kAddress, std::move(faults), &log) {}

  // Answers to one frame received at `now`.
  std::vector<Answer> Send(const Bytes& frame, double now = 1.0) {
    return engine.Receive(frame, now);
  }
  Bytes Only(const Bytes& frame, double now = 1.0) {
    std::vector<Answer> answers = Send(frame, now);
    EXPECT_EQ(answers.size(), 1u);
    return answers.empty() ? Bytes() : answers[0].bytes;
  }

  std::ostringstream logText;
  FrameLog log{logText, [] { return std::string("T"); }};
  SimulatedMeter meter;
  ProtocolEngine engine;
};

struct ReadCase {
  const char* name;
  uint16_t reg, count;
  size_t length;
};

TEST(ProtocolEngine, EveryReadOfTheRegisterMapIsAnsweredWithItsLengthAndARightCrc) {
  const ReadCase cases[] = {
      {"all channels", 41, 2, 8161},   {"all channels, re-send", 41, 2620, 8161},
      {"alarm block", 1, 52, 57},      {"set-up block", 28, 10, 15},
      {"phase ch1 narrow", 815, 2, 9}, {"phase ch1 broad", 816, 2, 9},
      {"phase ch2 narrow", 829, 2, 9}, {"phase ch2 broad", 830, 2, 9},
      {"phase ch3 narrow", 843, 2, 9}, {"phase ch3 broad", 844, 2, 9},
      {"keep-alive", 45, 15, 7},
  };
  Instrument sim;
  for (const ReadCase& c : cases) {
    const Bytes answer = sim.Only(Read(c.reg, c.count));
    ASSERT_EQ(answer.size(), c.length) << c.name;
    EXPECT_EQ(answer[0], kAddress) << c.name;
    EXPECT_EQ(answer[1], kFunctionRead) << c.name;
    EXPECT_EQ(answer[2], (c.length - 5) & 0xFF) << c.name;
    EXPECT_TRUE(CrcIsRight(answer)) << c.name;
  }
}

TEST(ProtocolEngine, StartValuesOfTheBlocks) {
  Instrument sim;
  const Bytes setup = sim.Only(Read(28, 10));
  EXPECT_EQ(Bytes(setup.begin() + 3, setup.end() - 2),
            (Bytes{0x0A, 0x00, 0x01, 0x03, 0x0F, 0x01, 0x01, 0x04, 0x04, 0x1E}));
  const Bytes alarms = sim.Only(Read(1, 52));
  EXPECT_EQ(Bytes(alarms.begin() + 3, alarms.end() - 2), Bytes(52, 0));
}

TEST(ProtocolEngine, LeaveNoticeIsNotAnswered) {
  Instrument sim;
  EXPECT_TRUE(sim.Send(Read(44, 0)).empty());
  EXPECT_TRUE(sim.engine.HostLeft());
  sim.Only(Read(45, 15));
  EXPECT_FALSE(sim.engine.HostLeft());
}

Bytes Ack(uint16_t reg) {
  Bytes frame = {kAddress, kFunctionWriteAck, static_cast<uint8_t>(reg & 0xFF),
                 static_cast<uint8_t>(reg >> 8)};
  AppendCrc(frame);
  return frame;
}

TEST(ProtocolEngine, WritesAreAcknowledgedStoredAndReadBack) {
  Instrument sim;
  AlarmBlockData alarms{};
  alarms.AlarmMode = 1;
  alarms.EnableBits = 0x0005;
  alarms.Alarm[0] = {3, 9};
  alarms.Limit[0].Upper = 2.5f;
  EXPECT_EQ(sim.Only(WriteBlock(1, &alarms, kAlarmBlockSize)), Ack(1));
  const Bytes alarmAnswer = sim.Only(Read(1, 52));
  EXPECT_EQ(std::memcmp(alarmAnswer.data() + 3, &alarms, kAlarmBlockSize), 0);

  const InstrumentSetupData setup = {5, 1, 0, 2, 20, 0, 0, 2, 3, 7};
  EXPECT_EQ(sim.Only(WriteBlock(28, &setup, kInstrumentSetupSize)), Ack(28));
  const Bytes setupAnswer = sim.Only(Read(28, 10));
  EXPECT_EQ(std::memcmp(setupAnswer.data() + 3, &setup, kInstrumentSetupSize), 0);

  EXPECT_EQ(sim.Only(WriteFloat(830, 1.5f)), Ack(830));
  EXPECT_EQ(BytesToFloat(sim.Only(Read(830, 2)).data() + 3), 1.5f);

  // The band write of the calibration switches the current bandwidth.
  const uint8_t broad = 1;
  EXPECT_EQ(sim.Only(WriteBlock(30, &broad, 1)), Ack(30));
  EXPECT_EQ(sim.meter.Setup().CurrentBandwidth, 1);
}

TEST(ProtocolEngine, WrittenSetupShowsInTheChannelBlocks) {
  Instrument sim;
  const InstrumentSetupData setup = {10, 0, 0, kWiringThreeWire, 15, 0, 1, 4, 4, 30};
  sim.Only(WriteBlock(28, &setup, kInstrumentSetupSize));
  const Bytes answer = sim.Only(Read(41, 2));
  MeasurementSet set;
  std::memcpy(&set, answer.data() + 3, sizeof set);
  for (const ChannelBlock& b : set.Channel) {
    EXPECT_EQ(b.Wiring, kWiringThreeWire);
    EXPECT_EQ(b.Bandwidth, 0);
    EXPECT_EQ(b.TriggerMode, 0);
  }
  EXPECT_EQ(+set.Channel[2].VoltageTrms, 0.0f);  // the third element is unused
}

TEST(ProtocolEngine, CalibrationNeedsTheUnlockCommand) {
  Instrument sim;
  const float before = sim.meter.Reading().Channel[0].VoltageTrms;
  EXPECT_EQ(sim.Only(WriteFloat(802, 220.05f)), Ack(802));
  sim.meter.AdvanceTo(1.0);
  EXPECT_NEAR(+sim.meter.Reading().Channel[0].VoltageTrms, before, 5.0);
  EXPECT_EQ(sim.Only(Request([] { return SendWriteCommand(kAddress, 801, 0xC6); })), Ack(801));
  sim.Only(WriteFloat(802, 220.05f));
  sim.meter.AdvanceTo(1.0);
  EXPECT_NEAR(+sim.meter.Reading().Channel[0].VoltageTrms, 220.05, 0.5);
}

struct RefusedCase {
  const char* name;
  Bytes frame;
  uint8_t function;
};

TEST(ProtocolEngine, RequestsItCannotServeGetAnException) {
  const InstrumentSetupData badWiring = {10, 0, 1, 7, 15, 1, 1, 4, 4, 30};
  const RefusedCase cases[] = {
      {"read of an unknown register", Read(999, 2), 0x83},
      {"write of an unknown register", WriteFloat(999, 1.0f), 0x90},
      {"set-up value out of range", WriteBlock(28, &badWiring, kInstrumentSetupSize), 0x90},
      {"alarm block too short", WriteBlock(1, &badWiring, kInstrumentSetupSize), 0x90},
      {"phase beyond 30 degrees", WriteFloat(815, 31.0f), 0x90},
  };
  Instrument sim;
  for (const RefusedCase& c : cases) {
    const Bytes answer = sim.Only(c.frame);
    ASSERT_EQ(answer.size(), 5u) << c.name;
    EXPECT_EQ(answer[1], c.function) << c.name;
    EXPECT_TRUE(CrcIsRight(answer)) << c.name;
  }
  EXPECT_EQ(sim.meter.Setup().InputWiring, kWiringFourWire);
  EXPECT_NE(sim.meter.PhaseCorrection(0, 0), 31.0f);
}

TEST(ProtocolEngine, OtherAddressesAndBadCrcsAreIgnored) {
  Instrument sim;
  EXPECT_TRUE(sim.Send(Read(41, 2, 3)).empty());
  Bytes bad = Read(41, 2);
  bad.back() ^= 0x01;
  EXPECT_TRUE(sim.Send(bad).empty());
  // Broadcasts are carried out but not answered.
  const InstrumentSetupData setup = {10, 0, 0, 3, 15, 1, 1, 4, 4, 12};
  Bytes broadcast = WriteBlock(28, &setup, kInstrumentSetupSize);
  broadcast[0] = 0;
  broadcast.resize(broadcast.size() - 2);
  AppendCrc(broadcast);
  EXPECT_TRUE(sim.Send(broadcast).empty());
  EXPECT_EQ(sim.meter.Setup().DemandWindow, 12);
  EXPECT_NE(sim.logText.str().find("RX 03 03 00 29 00 02"), std::string::npos);
  EXPECT_NE(sim.logText.str().find("[for address 3, ignored]"), std::string::npos);
  EXPECT_NE(sim.logText.str().find("RX? "), std::string::npos);
}

TEST(ProtocolEngine, FindsTheNextFrameAfterNoiseAndJoinsSplitFrames) {
  Instrument sim;
  Bytes stream = {0x10, 0x02, 0x10, 0x00};  // noise, and a write head that never completes
  const Bytes first = Read(28, 10);
  stream.insert(stream.end(), first.begin(), first.end());
  EXPECT_EQ(sim.Send(stream).size(), 1u);

  const Bytes second = Read(1, 52);
  EXPECT_TRUE(sim.engine.Receive(Bytes(second.begin(), second.begin() + 3), 2.0).empty());
  const std::vector<Answer> answers =
      sim.engine.Receive(Bytes(second.begin() + 3, second.end()), 2.01);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].bytes.size(), 57u);

  // A cut frame is forgotten once the line has been quiet.
  EXPECT_TRUE(sim.engine.Receive(Bytes(second.begin(), second.begin() + 5), 3.0).empty());
  EXPECT_EQ(sim.Send(Read(45, 15), 4.0).size(), 1u);
}

// The application's dispatcher takes the simulator's answer as the instrument's.
TEST(ProtocolEngine, TheApplicationsDispatcherTakesTheReading) {
  FaultPlan faults = ParseFaults("nan=VoltageTrms@1+LineVoltageAB");
  Instrument sim(faults);
  const SleepFunction previousSleep = SetSleepFunction([](uint32_t) {});
  const int previousUsb = UsbMode;
  UsbMode = 1;
  FakeLinkPort port;
  ScopedLinkPort scoped(&port);
  FakeLinkView view;
  ASSERT_TRUE(SendReadRequest(kAddress, 41, 2));
  LastReadRegister = 41;
  port.input = sim.Only(port.writes.back());
  Comm1ReceiveData(port, view);
  UsbMode = previousUsb;
  SetSleepFunction(previousSleep);

  EXPECT_TRUE(view.calls.contains("Status 0 Communications to complete"));
  EXPECT_EQ(+MeasurementData.Set.Channel[0].VoltageTrms, 0.0f);  // the NaN, repaired
  EXPECT_EQ(+MeasurementData.Set.ThreePhase.LineVoltageAB, 1.0f);
  EXPECT_EQ(+MeasurementData.Set.Channel[1].CurrentTrms,
            +sim.meter.Reading().Channel[1].CurrentTrms);
  EXPECT_EQ(std::memcmp(MeasurementData.Set.Channel[2].VoltageWave,
                        sim.meter.Reading().Channel[2].VoltageWave, 1024),
            0);
}

TEST(ProtocolEngine, SameSeedAndRequestsGiveTheSameAnswers) {
  Instrument a, b;
  for (double t : {0.1, 0.7, 2.3}) EXPECT_EQ(a.Only(Read(41, 2), t), b.Only(Read(41, 2), t));
}

}  // namespace
