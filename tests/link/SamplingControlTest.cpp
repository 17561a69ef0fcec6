#include "link/SamplingControl.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <utility>
#include <vector>

#include "link/Frames.h"
#include "link/LinkState.h"
#include "platform/MessageBox.h"
#include "support/FakeLinkPort.h"
#include "support/FakeSamplingView.h"

namespace {

using Id = SamplingControlId;
using Request = std::pair<int, int>;  // register, count

// "7 4 9 | N12 N13 N14 | C1 N11 N33" as 1 (enabled) and 0 (disabled).
QString States(const FakeSamplingView& view) {
  auto bit = [&](Id id) { return view.Enabled(id) ? QString("1") : QString("0"); };
  return bit(Id::SeSkinSpeedButton7) + bit(Id::SeSkinButton4) + bit(Id::SeSkinSpeedButton9) + " " +
         bit(Id::N12) + bit(Id::N13) + bit(Id::N14) + " " + bit(Id::C1) + bit(Id::N11) +
         bit(Id::N33);
}

class Sampling : public ::testing::Test {
 protected:
  void SetUp() override {
    previousBox_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      boxesWhileContinuousTimerOn += sampling.ContinuousReadTimerEnabled() ? 1 : 0;
      return QMessageBox::Ok;
    });
    SetLinkPort(&port);
    ResetLinkState();
    SlaveAddress = 1;
    KeepAliveTicks = ReceiveSilenceTicks = 9;
    sampling.ApplyStartupState();
    sampling.SetConnectedControlsEnabled(true);  // as after a successful port scan
  }
  void TearDown() override {
    SetLinkPort(nullptr);
    SetMessageBoxHandler(previousBox_);
  }
  std::vector<Request> Requests() const {
    std::vector<Request> out;
    for (const auto& w : port.writes) out.emplace_back(w[2] << 8 | w[3], w[4] << 8 | w[5]);
    return out;
  }

  FakeLinkPort port;
  FakeSamplingView view;
  SamplingControl sampling{view};
  QStringList boxes;
  int boxesWhileContinuousTimerOn = 0;

 private:
  MessageBoxHandler previousBox_;
};

TEST_F(Sampling, StartupStateDisablesTheToolBarAndStop) {
  FakeSamplingView fresh;
  SamplingControl control(fresh);
  control.ApplyStartupState();
  EXPECT_EQ(States(fresh), "000 110 111");
  EXPECT_FALSE(control.ReReadTimerEnabled() || control.ContinuousReadTimerEnabled());
  // After connecting, the port scan enables the two sampling buttons and N12, N13.
  EXPECT_EQ(States(view), "110 110 111");
  sampling.SetConnectedControlsEnabled(false);
  EXPECT_EQ(States(view), "000 000 111");
}

TEST_F(Sampling, SingleSamplingAsksWithCount2AndResendsWith2620) {
  sampling.SeSkinSpeedButton7Click();
  EXPECT_EQ(Requests(), (std::vector<Request>{{41, 2}}));
  EXPECT_EQ(LastReadRegister, 41);
  EXPECT_EQ(LastReadCount, 2620);
  EXPECT_EQ(SamplingMode, kSamplingSingle);
  EXPECT_EQ(States(view), "001 110 111") << "the menu entries stay enabled";
  EXPECT_EQ(KeepAliveTicks + ReceiveSilenceTicks, 0);
  EXPECT_TRUE(sampling.ReReadTimerEnabled());
  EXPECT_FALSE(sampling.ContinuousReadTimerEnabled());
  EXPECT_EQ(view.calls, (QStringList{"RefreshChannel 1", "RefreshChannel 2", "RefreshChannel 3",
                                     "RefreshThreePhase", "RefreshGrid"}));

  sampling.ReReadTimerTimer();
  EXPECT_EQ(Requests().back(), Request(41, 2620));
  EXPECT_EQ(view.calls.last(), "Status 0 Communication failure, re-connect!");
  EXPECT_TRUE(sampling.ReReadTimerEnabled());

  // What the dispatcher does on the good answer.
  sampling.SetReReadTimerEnabled(false);
  SamplingMode = kSamplingIdle;
  sampling.SetSamplingControlsEnabled(true);
  EXPECT_EQ(States(view), "111 111 111");
}

TEST_F(Sampling, ContinuousSamplingLocksTheMenusUntilStop) {
  sampling.SeSkinButton4Click();
  EXPECT_EQ(Requests(), (std::vector<Request>{{41, 2}}));
  EXPECT_EQ(LastReadCount, 2);
  EXPECT_EQ(SamplingMode, kSamplingContinuous);
  EXPECT_EQ(States(view), "001 001 000");
  EXPECT_TRUE(sampling.ReReadTimerEnabled());
  EXPECT_EQ(KeepAliveTicks + ReceiveSilenceTicks, 0);
  EXPECT_EQ(view.calls.size(), 5);  // the five displays redrawn

  // Good answer: the dispatcher pauses; the pause ends with the next request.
  sampling.SetReReadTimerEnabled(false);
  sampling.SetContinuousReadTimerEnabled(true);
  LastReadRegister = 1;
  sampling.ContinuousReadTimerTimer();
  EXPECT_EQ(Requests().back(), Request(41, 2));
  EXPECT_EQ(LastReadRegister, 41);
  EXPECT_EQ(view.calls.last(), "Status 0 Is requesting the data!");
  EXPECT_FALSE(sampling.ContinuousReadTimerEnabled());
  EXPECT_TRUE(sampling.ReReadTimerEnabled());
  sampling.ReReadTimerTimer();
  EXPECT_EQ(Requests().back(), Request(41, 2)) << "continuous re-sends keep count 2";

  sampling.SeSkinSpeedButton9Click();
  EXPECT_EQ(SamplingMode, kSamplingIdle);
  EXPECT_EQ(States(view), "111 111 111") << "Stop stays enabled";
  EXPECT_FALSE(sampling.ReReadTimerEnabled() || sampling.ContinuousReadTimerEnabled());
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(Sampling, ClosedPortShowsTheBoxButStillEntersTheState) {
  port.open = false;
  sampling.SeSkinSpeedButton7Click();
  EXPECT_EQ(boxes, QStringList{kRequestFailedText});
  EXPECT_EQ(SamplingMode, kSamplingSingle);
  EXPECT_TRUE(sampling.ReReadTimerEnabled());
  sampling.ReReadTimerTimer();
  EXPECT_TRUE(port.writes.empty()) << "re-sends only while the port is open";
  EXPECT_EQ(view.calls.last(), "Status 0 Communication failure, re-connect!");

  sampling.SeSkinButton4Click();
  EXPECT_EQ(boxes.size(), 2);
  EXPECT_EQ(SamplingMode, kSamplingContinuous);
}

// The tick's failure box runs the event loop; the 50 ms timer must already be off by
// then, or each tick inside the box would open one more box.
TEST_F(Sampling, FailedContinuousTickShowsOneBoxWithTheTimerOff) {
  sampling.SeSkinButton4Click();
  port.open = false;
  LastReadRegister = 1;
  sampling.SetContinuousReadTimerEnabled(true);
  sampling.ContinuousReadTimerTimer();
  EXPECT_EQ(boxes, QStringList{kRequestFailedText});
  EXPECT_EQ(boxesWhileContinuousTimerOn, 0);
  EXPECT_EQ(LastReadRegister, 1) << "set only when the request went out";
  EXPECT_FALSE(sampling.ContinuousReadTimerEnabled());
  EXPECT_TRUE(sampling.ReReadTimerEnabled());
}

TEST_F(Sampling, ClosingTellsTheInstrumentOnlyOverUsb) {
  EXPECT_TRUE(sampling.FormCloseQuery());
  EXPECT_TRUE(port.writes.empty());
  UsbMode = 1;
  EXPECT_TRUE(sampling.FormCloseQuery());
  EXPECT_EQ(Requests(), (std::vector<Request>{{44, 0}}));
  port.open = false;
  EXPECT_TRUE(sampling.FormCloseQuery()) << "never refuses";
}

TEST_F(Sampling, AlarmEntryReadsTheBlockThenShowsTheWindow) {
  port.open = false;
  sampling.N11Click();
  EXPECT_EQ(boxes, QStringList{kSynchronizationFailedText});
  EXPECT_EQ(view.calls, (QStringList{"AlarmStatus Is requesting the instrument data ...",
                                     "ShowAlarmFormModal"}));
  EXPECT_EQ(LastReadRegister, 1);
  EXPECT_EQ(LastReadCount, 52);

  port.open = true;
  view.calls.clear();
  sampling.N11Click();
  EXPECT_EQ(Requests(), (std::vector<Request>{{1, 52}}));
  EXPECT_EQ(view.calls.last(), "ShowAlarmFormModal");
  EXPECT_EQ(boxes.size(), 1);
}

TEST_F(Sampling, InstrumentSettingsEntryReadsThenShowsWithoutWaiting) {
  sampling.N33Click();
  EXPECT_EQ(view.calls, (QStringList{"InstrumentSettingsReadClick", "ShowInstrumentSettingsForm"}));
}

TEST_F(Sampling, DispatcherSetsItsOwnControlSet) {
  sampling.SeSkinButton4Click();
  sampling.SetSamplingControlsEnabled(true);
  EXPECT_EQ(States(view), "111 011 000") << "SeSkinSpeedButton7, N13, SeSkinButton4, N14";
  sampling.SetSamplingControlsEnabled(false);
  EXPECT_EQ(States(view), "001 000 000");
}

}  // namespace
