// The application against the real simulated instrument, over a pseudo-terminal: what a
// user does first, a reading, single and continuous, over a plain port and over USB.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>

#include "app/StartUp.h"
#include "app/TMainForm.h"
#include "config/TAlarmForm.h"
#include "config/TCalibrateForm.h"
#include "config/TInputNetSet.h"
#include "display/MeasurementModel.h"
#include "link/LinkLog.h"
#include "link/LinkState.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/RadioGroup.h"
#include "record/RecordState.h"
#include "record/TRecordForm.h"
#include "support/PtyPair.h"

namespace {

class LiveInstrument : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("RXM5620_CONFIG_DIR", configDir.path().toLocal8Bit());
    qputenv("RXM5620_PORT_DIR", portDir.path().toLocal8Bit());
    previous_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
  }
  void TearDown() override {
    windows.main.reset();
    if (sim.state() != QProcess::NotRunning) {
      sim.terminate();
      sim.waitForFinished(5000);
    }
    SetMessageBoxHandler(previous_);
    qunsetenv("RXM5620_CONFIG_DIR");
    qunsetenv("RXM5620_PORT_DIR");
  }

  // Starts rxm5620-sim on port n and waits for its link.
  void StartSimulator(int port, QStringList extra = {}) {
    const QString link = portDir.filePath(QString("COM%1").arg(port));
    sim.setProgram(QCoreApplication::applicationDirPath() + "/rxm5620-sim");
    sim.setArguments(QStringList{"--link", link, "--seed", "7"} + extra);
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start();
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(WaitWithoutEvents([&] { return QFile::exists(link); }, 10000));
  }
  void Settings(const QByteArray& text) {
    QFile file(configDir.filePath("SysSet.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QString Status() { return windows.main->StatusBar->PanelText(0); }

  QTemporaryDir configDir;
  QTemporaryDir portDir;
  QProcess sim;
  ApplicationWindows windows;
  QStringList boxes;

 private:
  MessageBoxHandler previous_;
};

TEST_F(LiveInstrument, ASingleReadingArrivesOverAPlainPort) {
  Settings("[CommPort]\nPort=2\n[CommBaudrate]\nBaudrate=7\n");
  StartSimulator(2, {"--baud", "auto"});
  windows = CreateApplicationWindows({"/opt/rxm5620/rxm5620"});
  TMainForm& main = *windows.main;
  EXPECT_EQ(Status(), "Communication port is open");
  ASSERT_TRUE(main.SeSkinSpeedButton7->isEnabled());
  EXPECT_NE(UsbMode, 1);

  main.SeSkinSpeedButton7->click();
  EXPECT_EQ(SamplingMode, kSamplingSingle);
  ASSERT_TRUE(WaitUntil([&] { return Status() == "Communications to complete"; }));
  EXPECT_EQ(SamplingMode, kSamplingIdle);
  EXPECT_TRUE(main.SeSkinSpeedButton7->isEnabled());
  const ChannelBlock& a = MeasurementData.Set.Channel[0];
  EXPECT_NEAR(a.VoltageTrms, 230.0f, 10.0f);
  EXPECT_NEAR(a.Frequency, 50.0f, 0.5f);
  EXPECT_NEAR(MeasurementData.Set.ThreePhase.LineVoltageAB, 230.0f * std::sqrt(3.0f), 20.0f);
  EXPECT_TRUE(main.StatusBar->PanelText(5).startsWith("Date: "));
  EXPECT_NE(MeasurementData.DateTimeText[0], '\0');
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(LiveInstrument, ContinuousReadingsOverUsbFollowOneAnother) {
  Settings("[CommPort]\nPort=7\n");
  const QString log = configDir.filePath("frames.log");
  StartSimulator(7, {"--usb", "--log", log});
  windows = CreateApplicationWindows({"/opt/rxm5620/rxm5620"});
  TMainForm& main = *windows.main;
  ASSERT_EQ(UsbMode, 1) << "recognised by the identifier of its USB identity";

  main.SeSkinButton4->click();
  int readings = 0;
  QString lastDate;
  ASSERT_TRUE(WaitUntil([&] {
    const QString date = main.StatusBar->PanelText(5);
    if (Status() == "Communications to complete" && date != lastDate) {
      lastDate = date;
      ++readings;
    }
    return readings >= 3 && MeasurementData.Set.Channel[1].VoltageTrms > 100.0f;
  }));
  EXPECT_EQ(SamplingMode, kSamplingContinuous);
  EXPECT_FALSE(main.C1->isEnabled()) << "no port changes while sampling";
  main.SeSkinSpeedButton9->click();
  EXPECT_EQ(SamplingMode, kSamplingIdle);
  EXPECT_TRUE(main.C1->isEnabled());

  // Closing over USB tells the instrument that the application goes away (register 44).
  main.Close1->trigger();
  auto logText = [&] {
    QFile file(log);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).toUpper()
                                          : QString();
  };
  EXPECT_TRUE(WaitWithoutEvents([&] { return logText().contains("02 03 00 2C 00 00"); }, 10000))
      << logText().right(400).toStdString();
}

// A recording over the live link: the samples are the readings the data model received, and
// the file holds them with their times.
TEST_F(LiveInstrument, ARecordingDuringContinuousSamplingReachesItsFile) {
  Settings("[CommPort]\nPort=7\n[RecordSet]\nCh0=0\nCh1=15\nCh2=29\nCh3=3\nCh4=99\nCh5=102\n");
  StartSimulator(7, {"--usb"});
  windows = CreateApplicationWindows({"/opt/rxm5620/rxm5620"});
  TMainForm& main = *windows.main;
  TRecordForm& record = *windows.others.record;
  const QString path = configDir.filePath("live.qvr");
  const auto previousDialog = FileDialog::SetHandler([&](const FileDialog&) { return path; });
  main.SeSkinSpeedButton5->click();
  EXPECT_TRUE(record.isVisible());
  record.NewClick();
  // Shorter steps than any the settings offer, so that the test takes seconds.
  record.SetStepInterval(150, "Step");
  record.SetSaveInterval(700, "Save");
  main.SeSkinButton4->click();
  ASSERT_TRUE(WaitUntil([&] { return SamplingMode == kSamplingContinuous; }));
  record.StartClick();
  ASSERT_TRUE(record.Timer1->isActive()) << boxes.join(" | ").toStdString();
  ASSERT_TRUE(WaitUntil([&] { return Recording.SampleCount >= 8; }));
  record.StopClick();
  const int taken = Recording.SampleCount;
  record.TimerSaveTimer();  // the last samples, as the next save would write them
  FileDialog::SetHandler(previousDialog);
  main.SeSkinSpeedButton9->click();

  RecordState reopened;
  reopened.Allocate();
  const OpenedRecording opened = OpenRecordFile(reopened, path);
  ASSERT_EQ(opened.Count, taken);
  const uint8_t parameters[kRecordChannels] = {0, 15, 29, 3, 99, 102};
  for (int c = 0; c < kRecordChannels; ++c) EXPECT_EQ(opened.Parameters[c], parameters[c]);
  for (int i = 0; i < taken; ++i) {
    for (int c = 0; c < kRecordChannels; ++c) {
      EXPECT_EQ(reopened.Opened.Values[c][i], Recording.Live.Values[c][i]);
    }
    EXPECT_EQ(reopened.Opened.Times[i], Recording.Live.Times[i]);
    if (i > 0) {
      EXPECT_GE(reopened.Opened.Times[i], reopened.Opened.Times[i - 1]);
    }
  }
  // The values are the simulator's balanced system: 230 V, 10 A, 50 Hz, about 400 V between
  // lines, the total power of three phases.
  const float last[kRecordChannels] = {230, 10, 2100, 50, 400, 6300};
  const float tolerance[kRecordChannels] = {10, 1.5, 400, 0.5, 20, 1200};
  for (int c = 0; c < kRecordChannels; ++c) {
    EXPECT_NEAR(reopened.Opened.Values[c][taken - 1], last[c], tolerance[c]) << c;
  }
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join(" | ").toStdString();
}

// A record file named on the command line opens in the record window once the windows exist.
TEST_F(LiveInstrument, ARecordFileOnTheCommandLineOpensInTheRecordWindow) {
  windows =
      CreateApplicationWindows({"/opt/rxm5620/rxm5620", RXM_FIXTURES_DIR "/known-record.qvr"});
  TRecordForm& record = *windows.others.record;
  ASSERT_TRUE(WaitUntil([&] { return record.isVisible() && Recording.OpenedLastIndex == 1499; }));
  EXPECT_EQ(record.Names[3]->text(), "CH2 Frequency");
  EXPECT_EQ(record.StatusText(5), "Mode:Open");
  EXPECT_EQ(Recording.ViewMode, 1);
}

// Each configuration window against the simulated instrument: read, change, save, the
// acknowledgement, and the change read back.
TEST_F(LiveInstrument, TheConfigurationWindowsWriteWhatTheyReadBack) {
  Settings("[CommPort]\nPort=7\n");
  StartSimulator(7, {"--usb"});
  windows = CreateApplicationWindows({"/opt/rxm5620/rxm5620"});
  TMainForm& main = *windows.main;
  ASSERT_EQ(UsbMode, 1);

  TInputNetSet& settings = *windows.others.inputNetSet;
  auto settingsStatus = [&] { return settings.SeSkinStatusBar1->Text(); };
  main.N33->trigger();  // read, then show
  ASSERT_TRUE(WaitUntil(
      [&] { return settingsStatus() == "Has been synchronized with the instrument data"; }));
  EXPECT_EQ(settings.SeSkinRadioGroup1->ItemIndex(), 3);
  settings.SeSkinRadioGroup1->SetItemIndex(0);   // single-phase
  settings.SeSkinComboBox4->setCurrentIndex(9);  // a demand window of 10 s
  settings.SeSkinButton1->click();
  ASSERT_TRUE(WaitUntil([&] { return settingsStatus() == kSetupWrittenText; }));
  settings.SeSkinRadioGroup1->SetItemIndex(3);
  settings.SeSkinComboBox4->setCurrentIndex(0);
  settings.SeSkinButton2->click();
  ASSERT_TRUE(WaitUntil(
      [&] { return settingsStatus() == "Has been synchronized with the instrument data"; }));
  EXPECT_EQ(settings.SeSkinRadioGroup1->ItemIndex(), 0);
  EXPECT_EQ(settings.SeSkinComboBox4->currentText(), "10");
  EXPECT_FALSE(main.IsPageVisible(3));
  EXPECT_EQ(main.StatusBar->PanelText(2), "Wiring:Single-phase(1P2W)");
  // The instrument now measures single-phase.
  main.SeSkinSpeedButton7->click();
  ASSERT_TRUE(WaitUntil([&] { return Status() == "Communications to complete"; }));
  EXPECT_EQ(MeasurementData.Set.Channel[0].Wiring, kWiringSinglePhase);

  TAlarmForm& alarm = *windows.others.alarm;
  auto alarmStatus = [&] { return alarm.SeSkinStatusBar1->Text(); };
  alarm.Button3->click();
  ASSERT_TRUE(
      WaitUntil([&] { return alarmStatus() == "Has been synchronized with the instrument data"; }));
  alarm.Limits[2]->setText("123.5");
  alarm.Enables[2]->setChecked(true);
  alarm.DataSets[1]->setCurrentIndex(3);
  alarm.DataSetChange(1);
  alarm.References[1]->setCurrentIndex(4);
  alarm.Button1->click();
  ASSERT_TRUE(WaitUntil([&] { return alarmStatus() == kAlarmsWrittenText; }));
  alarm.Limits[2]->setText("0");
  AlarmBlock = AlarmBlockData{};
  alarm.Button3->click();
  ASSERT_TRUE(
      WaitUntil([&] { return alarmStatus() == "Has been synchronized with the instrument data"; }));
  EXPECT_EQ(alarm.Limits[2]->text(), "123.5");
  EXPECT_TRUE(alarm.Enables[2]->isChecked());
  EXPECT_EQ(alarm.References[1]->currentText(), "Total apparent power");

  TCalibrateForm& calibrate = *windows.others.calibrate;
  calibrate.PhaseEdits[2]->setText("12.5");
  const uint64_t answers = TheLinkLog().Counters().Answers;
  calibrate.PhaseWriteButtons[2]->click();
  // The window shows no acknowledgement; the link log counts it.
  ASSERT_TRUE(WaitUntil([&] { return TheLinkLog().Counters().Answers > answers; }));
  calibrate.PhaseEdits[2]->setText("0");
  calibrate.PhaseReadButtons[2]->click();
  ASSERT_TRUE(WaitUntil([&] { return calibrate.PhaseEdits[2]->text() == "12.5"; }));
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
}

}  // namespace
