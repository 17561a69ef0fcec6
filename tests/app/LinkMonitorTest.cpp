// The link monitor against the simulated instrument injecting a bad CRC every fifth
// answer: every bad frame is marked, and the CRC counter equals the instrument's count.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/StartUp.h"
#include "app/TMainForm.h"
#include "link/LinkLog.h"
#include "link/LinkState.h"
#include "link/TLinkMonitorForm.h"
#include "platform/MessageBox.h"
#include "platform/Sleep.h"
#include "support/PtyPair.h"

namespace {

TEST(LinkMonitor, ShowsEveryBadFrameAndCountsAsTheInstrumentDid) {
  QTemporaryDir dir;
  qputenv("RXM5620_CONFIG_DIR", dir.path().toLocal8Bit());
  qputenv("RXM5620_PORT_DIR", dir.path().toLocal8Bit());
  QFile settings(dir.filePath("SysSet.ini"));
  ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
  settings.write("[CommPort]\nPort=6\n");
  settings.close();
  const auto previous =
      SetMessageBoxHandler([](const MessageBoxRequest&) { return QMessageBox::Ok; });
  const QString log = dir.filePath("frames.log");
  QProcess sim;
  sim.setProgram(QCoreApplication::applicationDirPath() + "/rxm5620-sim");
  sim.setArguments(
      {"--link", dir.filePath("COM6"), "--usb", "--seed", "9", "--log", log, "--faults", "crc=5"});
  sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim.start();
  ASSERT_TRUE(sim.waitForStarted(5000));
  ASSERT_TRUE(WaitWithoutEvents([&] { return QFile::exists(dir.filePath("COM6.pnp")); }, 10000));
  {
    ApplicationWindows windows = CreateApplicationWindows({"rxm5620"});
    TMainForm& main = *windows.main;
    // The dispatcher's first wait lasts until the answer has stopped coming, so that a
    // loaded machine never splits one answer into two reads.
    const auto previousSleep = SetSleepFunction([&main](uint32_t ms) {
      if (ms != 15) return;
      uint32_t seen = main.Comm1->DataCount();
      QElapsedTimer quiet;
      quiet.start();
      QElapsedTimer limit;
      limit.start();
      while (limit.elapsed() < 3000 && (seen == 0 || quiet.elapsed() < 60)) {
        ::usleep(2000);
        if (main.Comm1->DataCount() != seen) {
          seen = main.Comm1->DataCount();
          quiet.restart();
        }
      }
    });
    main.LinkMonitor1->trigger();
    TLinkMonitorForm& monitor = *windows.others.linkMonitor;
    EXPECT_TRUE(monitor.isVisible());
    // The alarm block the port scan asks for comes first; a reading asked for before it
    // is taken in would arrive in the same read.
    ASSERT_TRUE(WaitUntil([] { return TheLinkLog().Counters().Answers >= 1; }, 10000));
    main.SeSkinButton4->click();
    ASSERT_TRUE(WaitUntil([&] { return TheLinkLog().Counters().CrcErrors >= 4; }, 30000));
    main.SeSkinSpeedButton9->click();
    // Every answer the instrument sent has been taken in: nothing new for a second.
    uint64_t answers = TheLinkLog().Counters().Answers;
    QElapsedTimer quiet;
    quiet.start();
    ASSERT_TRUE(WaitUntil(
        [&] {
          if (TheLinkLog().Counters().Answers != answers) {
            answers = TheLinkLog().Counters().Answers;
            quiet.restart();
          }
          return quiet.elapsed() > 1000;
        },
        30000));

    QFile frames(log);
    ASSERT_TRUE(frames.open(QIODevice::ReadOnly));
    int wrongCrc = 0;
    for (const QByteArray& line : frames.readAll().split('\n')) {
      wrongCrc += line.contains(" TX ") && line.contains("wrong CRC");
    }
    EXPECT_GE(wrongCrc, 4);
    EXPECT_EQ(TheLinkLog().Counters().CrcErrors, static_cast<uint64_t>(wrongCrc));
    monitor.UpdateView();
    EXPECT_TRUE(monitor.CountersLabel->text().contains(QString("CRC errors %1").arg(wrongCrc)))
        << monitor.CountersLabel->text().toStdString();
    monitor.FilterBox->setCurrentIndex(1);  // errors only
    ASSERT_EQ(monitor.Frames->rowCount(), wrongCrc);
    for (int row = 0; row < wrongCrc; ++row) {
      const QString meaning =
          monitor.Frames->data(monitor.Frames->index(row, LinkFrameModel::Meaning), Qt::DisplayRole)
              .toString();
      EXPECT_TRUE(meaning.contains("CRC bad; dropped: bad CRC")) << meaning.toStdString();
    }
    // All frames: a reading's request and its whole answer, routed.
    monitor.FilterBox->setCurrentIndex(0);
    bool sawReading = false;
    for (int row = 0; row < monitor.Frames->rowCount(); ++row) {
      const LoggedFrame& f = monitor.Frames->Frame(row);
      sawReading |= f.Bytes.size() == 8161 && f.Outcome == FrameOutcome::Routed;
    }
    EXPECT_TRUE(sawReading);
    SetSleepFunction(previousSleep);
  }
  sim.terminate();
  sim.waitForFinished(5000);
  SetMessageBoxHandler(previous);
  qunsetenv("RXM5620_CONFIG_DIR");
  qunsetenv("RXM5620_PORT_DIR");
}

}  // namespace
