// Readings travelling for real: request frames out of a pseudo-terminal, the instrument's
// 8161-byte answers back in through the poll timer and the dispatcher, into the data
// model, with the retry and pacing timers of sampling control.

#include <gtest/gtest.h>

#include <QStringList>
#include <map>

#include "display/MeasurementModel.h"
#include "link/BindComm1.h"
#include "link/LinkState.h"
#include "link/LinkView.h"
#include "link/SamplingControl.h"
#include "link/TComm.h"
#include "platform/MessageBox.h"
#include "platform/Sleep.h"
#include "support/PtyPair.h"
#include "support/ScriptedInstrument.h"

namespace {

constexpr int kPort = 4;
using Id = SamplingControlId;
using Request = ScriptedInstrument::Request;
using Reply = ScriptedInstrument::Reply;

// What the main window does: owns Comm1 and sampling control, shows what it is told,
// and forwards the dispatcher's timer and button requests to sampling control.
class MainWindowStandIn : public LinkView, public SamplingView {
 public:
  MainWindowStandIn() : sampling(*this) {
    BindComm1(comm, *this);
    comm.SetCommPort(ComPortOfNumber(kPort));
    comm.SetBaudRate(br115200);
  }

  TComm comm;
  SamplingControl sampling;
  std::map<Id, bool> enabled;
  QStringList status;
  int refreshes = 0;

  QString States() const {
    auto bit = [&](Id id) {
      const auto found = enabled.find(id);
      return found != enabled.end() && found->second ? QString("1") : QString("0");
    };
    return bit(Id::SeSkinSpeedButton7) + bit(Id::SeSkinButton4) + bit(Id::SeSkinSpeedButton9) +
           " " + bit(Id::N12) + bit(Id::N13) + bit(Id::N14) + " " + bit(Id::C1) + bit(Id::N11) +
           bit(Id::N33);
  }

  // Both interfaces.
  void SetStatusText(int panel, const QString& text) override {
    if (panel == 0) status << text;
  }
  void RefreshChannelPage(int) override { ++refreshes; }
  void RefreshThreePhasePage() override {}
  void RefreshHarmonicGrid() override {}
  void SetAlarmStatusText(const QString&) override {}
  // LinkView.
  void ShowProgressBar(int) override {}
  void SetProgressPosition(int) override {}
  void SetReReadTimerEnabled(bool on) override { sampling.SetReReadTimerEnabled(on); }
  void SetContinuousReadTimerEnabled(bool on) override {
    sampling.SetContinuousReadTimerEnabled(on);
  }
  void SetSamplingControlsEnabled(bool on) override { sampling.SetSamplingControlsEnabled(on); }
  int SpeedIndex() const override { return 7; }
  void AlarmFormCreate() override {}
  void ShowInstrumentSetup() override {}
  void SetInstrumentStatusText(const QString&) override {}
  void SetCalibrationEditText(int, const QString&) override {}
  // SamplingView.
  void SetControlEnabled(Id control, bool on) override { enabled[control] = on; }
  void ShowAlarmFormModal() override {}
  void InstrumentSettingsReadClick() override {}
  void ShowInstrumentSettingsForm() override {}
};

class SamplingEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ports.Link(kPort, pty.SlavePath());
    previousBox_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
    // The dispatcher's first wait lasts until the whole answer is queued; the wait per
    // progress step is skipped. The real-interval test sleeps for real.
    previousSleep_ = SetSleepFunction([this](uint32_t ms) {
      if (ms == 15) {
        WaitWithoutEvents([&] { return window.comm.DataCount() >= instrument.lastAnswerSize; });
      }
    });
    InitMeasurementRecord(MeasurementData);
    SlaveAddress = 1;
    UsbMode = 0;
    SamplingMode = kSamplingIdle;
    window.comm.SetPortOpen(true);
    window.sampling.ApplyStartupState();
    window.sampling.SetConnectedControlsEnabled(true);
  }
  void TearDown() override {
    window.sampling.SeSkinSpeedButton9Click();
    window.comm.SetPortOpen(false);
    SetSleepFunction(previousSleep_);
    SetMessageBoxHandler(previousBox_);
  }

  float ChannelOneVoltage() const { return MeasurementData.Set.Channel[0].VoltageTrms; }
  int StatusIndex(const QString& text) const { return window.status.indexOf(text); }

  ScopedPortDirectory ports;
  PtyPair pty;
  ScriptedInstrument instrument{pty};
  MainWindowStandIn window;
  QStringList boxes;

 private:
  MessageBoxHandler previousBox_;
  SleepFunction previousSleep_;
};

constexpr int kNever = 600000;  // a retry interval that no test waits for

TEST_F(SamplingEndToEnd, SingleReadingCompletesAndReenablesTheButtons) {
  window.sampling.SetTimerIntervals(10, kNever);
  window.sampling.SeSkinSpeedButton7Click();
  EXPECT_EQ(window.States(), "001 110 111");
  ASSERT_TRUE(WaitUntil([&] { return SamplingMode == kSamplingIdle; }));

  EXPECT_EQ(instrument.requests, (std::vector<Request>{{41, 2}}));
  EXPECT_EQ(ChannelOneVoltage(), ScriptedInstrument::VoltageOfReading(0));
  EXPECT_NE(MeasurementData.DateTimeText[0], 0);
  EXPECT_EQ(window.status.last(), "Communications to complete");
  EXPECT_EQ(window.States(), "111 111 111");
  EXPECT_FALSE(window.sampling.ReReadTimerEnabled());
  EXPECT_FALSE(window.sampling.ContinuousReadTimerEnabled());
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(SamplingEndToEnd, LostSingleAnswerIsAskedForAgainWithCount2620) {
  window.sampling.SetTimerIntervals(10, 300);
  instrument.script = {Reply::Ignore};
  window.sampling.SeSkinSpeedButton7Click();
  ASSERT_TRUE(WaitUntil([&] { return SamplingMode == kSamplingIdle; }));

  ASSERT_GE(instrument.requests.size(), 2u);
  EXPECT_EQ(instrument.requests[0], (Request{41, 2}));
  EXPECT_EQ(instrument.requests[1], (Request{41, 2620}));
  const int failure = StatusIndex("Communication failure, re-connect!");
  ASSERT_GE(failure, 0);
  EXPECT_GT(StatusIndex("Communications to complete"), failure);
  EXPECT_EQ(window.States(), "111 111 111");
}

TEST_F(SamplingEndToEnd, BadCrcIsAskedForAgainAtOnce) {
  window.sampling.SetTimerIntervals(10, kNever);
  instrument.script = {Reply::CorruptCrc};
  window.sampling.SeSkinSpeedButton7Click();
  ASSERT_TRUE(WaitUntil([&] { return SamplingMode == kSamplingIdle; }));

  EXPECT_EQ(instrument.requests, (std::vector<Request>{{41, 2}, {41, 2620}}));
  EXPECT_EQ(ChannelOneVoltage(), ScriptedInstrument::VoltageOfReading(1))
      << "the corrupt reading is not taken";
  EXPECT_EQ(StatusIndex("Communication failure, re-connect!"), -1);
}

TEST_F(SamplingEndToEnd, ContinuousSamplingRearmsUntilStopAndALateAnswerArmsNothing) {
  window.sampling.SetTimerIntervals(10, kNever);
  instrument.script = {Reply::Answer, Reply::CorruptCrc, Reply::Answer, Reply::Hold};
  window.sampling.SeSkinButton4Click();
  ASSERT_TRUE(WaitUntil([&] { return instrument.HasHeld(); }));

  // Answer, pause, request, corrupt answer, immediate re-send, answer, pause, request.
  EXPECT_EQ(instrument.requests, (std::vector<Request>(4, Request{41, 2})));
  EXPECT_EQ(ChannelOneVoltage(), ScriptedInstrument::VoltageOfReading(2));
  EXPECT_EQ(window.status.count("Is requesting the data!"), 2);
  EXPECT_EQ(window.States(), "001 001 000");
  EXPECT_EQ(SamplingMode, kSamplingContinuous);
  EXPECT_TRUE(window.sampling.ReReadTimerEnabled());
  EXPECT_FALSE(window.sampling.ContinuousReadTimerEnabled());

  window.sampling.SeSkinSpeedButton9Click();
  EXPECT_EQ(window.States(), "111 111 111");
  EXPECT_FALSE(window.sampling.ReReadTimerEnabled());

  const int refreshesBefore = window.refreshes;
  instrument.ReleaseHeld();
  ASSERT_TRUE(
      WaitUntil([&] { return ChannelOneVoltage() == ScriptedInstrument::VoltageOfReading(3); }));
  EXPECT_EQ(window.refreshes, refreshesBefore + 3) << "the late answer is still shown";
  EXPECT_EQ(SamplingMode, kSamplingIdle);
  EXPECT_FALSE(window.sampling.ReReadTimerEnabled());
  EXPECT_FALSE(window.sampling.ContinuousReadTimerEnabled());
  EXPECT_EQ(instrument.requests.size(), 4u);
}

// The application's own timing: the dispatcher really waits 765 ms per answer at
// 115.2 kbit/s, the retry comes after 2 s, the pause lasts 50 ms.
TEST_F(SamplingEndToEnd, RealIntervalsRetryAfterTwoSecondsAndPaceContinuousReadings) {
  SetSleepFunction({});
  instrument.script = {Reply::Ignore};
  window.sampling.SeSkinSpeedButton7Click();
  ASSERT_TRUE(WaitUntil([&] { return SamplingMode == kSamplingIdle; }, 60000));
  ASSERT_GE(instrument.requests.size(), 2u);
  EXPECT_EQ(instrument.requests[1], (Request{41, 2620}));
  EXPECT_GE(StatusIndex("Communication failure, re-connect!"), 0);
  EXPECT_EQ(ChannelOneVoltage(), ScriptedInstrument::VoltageOfReading(0));

  instrument.requests.clear();
  instrument.script = {Reply::Answer, Reply::Answer, Reply::Hold};
  window.sampling.SeSkinButton4Click();
  ASSERT_TRUE(WaitUntil([&] { return instrument.HasHeld(); }, 60000));
  EXPECT_EQ(instrument.requests, (std::vector<Request>(3, Request{41, 2})));
  EXPECT_EQ(ChannelOneVoltage(), ScriptedInstrument::VoltageOfReading(2));
  window.sampling.SeSkinSpeedButton9Click();
  EXPECT_TRUE(boxes.isEmpty());
}

}  // namespace
