// The application against the real simulated instrument, over a pseudo-terminal: what a
// user does first, a reading, single and continuous, over a plain port and over USB.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "app/StartUp.h"
#include "app/TMainForm.h"
#include "display/MeasurementModel.h"
#include "link/LinkState.h"
#include "platform/MessageBox.h"
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

}  // namespace
