#include "app/StartUp.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "app/TMainForm.h"
#include "display/MeasurementModel.h"
#include "platform/CommandLine.h"
#include "platform/MessageBox.h"

namespace {

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
    qputenv("RXM5620_CONFIG_DIR", configDir.path().toLocal8Bit());
    qputenv("RXM5620_PORT_DIR", configDir.path().toLocal8Bit());  // no ports at all
    ResetCommandLineState();
    std::memset(&MeasurementData, 0xCC, sizeof MeasurementData);
  }
  void TearDown() override {
    SetMessageBoxHandler(previous_);
    qunsetenv("RXM5620_CONFIG_DIR");
    qunsetenv("RXM5620_PORT_DIR");
  }

  QString CopyFixture(const QString& name) {
    const QString path = dir.filePath(name);
    QFile::copy(RXM_FIXTURES_DIR "/known-reading.qvm", path);
    return path;
  }

  QTemporaryDir dir;
  QTemporaryDir configDir;
  QStringList boxes;

 private:
  MessageBoxHandler previous_;
};

TEST_F(StartUp, WithoutArgumentsTheReadingIsClearedAndNothingIsOpened) {
  ApplicationWindows windows = CreateApplicationWindows({"/opt/rxm5620/rxm5620"});
  EXPECT_EQ(MeasurementData.Set.Channel[0].Wiring, 3);
  EXPECT_EQ(MeasurementData.Set.Channel[2].WaveSampleCount, 512);
  EXPECT_EQ(MeasurementData.Set.Channel[0].VoltageTrms, 0.0f);
  EXPECT_EQ(StartedWithFile, 0);
  EXPECT_TRUE(CommandLineFile.isEmpty());
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_TRUE(boxes[0].startsWith("Did not find the default communication port!"));
  EXPECT_EQ(windows.main->StatusBar->PanelText(0), "Connection fails");
  EXPECT_FALSE(windows.main->SeSkinSpeedButton7->isEnabled());
  EXPECT_FALSE(windows.main->MOpenTimer->isActive());
  EXPECT_FALSE(windows.main->isVisible());
  EXPECT_NE(windows.others.inputNetSet, nullptr) << "every window exists after start-up";
}

TEST_F(StartUp, CommandLineEndingsDecideWhatIsOpened) {
  struct EndingCase {
    const char* name;
    bool opensReading;
    bool armsRecordTimer;
  };
  const EndingCase cases[] = {
      {"reading.qvm", true, false},  {"READING.QVM", true, false}, {"Reading.Qvm", true, false},
      {"reading.qVm", false, false}, {"trend.qvr", false, true},   {"TREND.QVR", false, true},
      {"trend.Qvr", false, true},    {"trend.qvR", false, false},  {"notes.txt", false, false},
  };
  for (const EndingCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::memset(&MeasurementData, 0xCC, sizeof MeasurementData);
    ResetCommandLineState();
    const QString path = CopyFixture(c.name);
    ApplicationWindows windows = CreateApplicationWindows({"/opt/rxm5620/rxm5620", path});
    EXPECT_EQ(StartedWithFile, 0) << "set by the argument, read and cleared by the port scan";
    EXPECT_EQ(CommandLineFile, path);
    const bool opened = QByteArray(MeasurementData.DateTimeText, 19) == "2026-12-10 09:30:15";
    EXPECT_EQ(opened, c.opensReading);
    EXPECT_EQ(windows.main->MOpenTimer->isActive(), c.armsRecordTimer);
    EXPECT_EQ(windows.main->MOpenTimer->interval(), 1000);
  }
  EXPECT_TRUE(boxes.isEmpty()) << "an argument suppresses the no-port message";
}

TEST_F(StartUp, AnUnreadableCommandLineFileIsReportedAndStartUpGoesOn) {
  QFile short_(dir.filePath("short.qvm"));
  ASSERT_TRUE(short_.open(QIODevice::WriteOnly));
  short_.write(QByteArray(100, 'x'));
  short_.close();
  ApplicationWindows windows =
      CreateApplicationWindows({"/opt/rxm5620/rxm5620", dir.filePath("short.qvm")});
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_TRUE(boxes[0].startsWith("Read beyond end of file"));
  EXPECT_EQ(MeasurementData.Set.Channel[0].Wiring, 3) << "the cleared reading stays";
  EXPECT_NE(windows.others.inputNetSet, nullptr);
}

TEST(CommandLineFileFrom, JoinsTrimsAndUnquotes) {
  struct LineCase {
    QStringList arguments;
    QString file;
  };
  const LineCase cases[] = {
      {{"/p/rxm5620", "/data/a.qvm"}, "/data/a.qvm"},
      {{"/p/rxm5620", "/data/my", "reading.qvm"}, "/data/my reading.qvm"},
      {{"/p/rxm5620", "  /data/a.qvm\t"}, "/data/a.qvm"},
      {{"/p/rxm5620", "\"/data/a b.qvm\""}, "/data/a b.qvm"},
      {{"/p/rxm5620"}, ""},
  };
  for (const LineCase& c : cases) EXPECT_EQ(CommandLineFileFrom(c.arguments), c.file);
}

}  // namespace
