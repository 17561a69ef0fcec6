// The link and sampling control under the simulated instrument's faults, one at a time and
// all together, over a pseudo-terminal in USB mode, driven without the main window through
// the interfaces it implements, with a recording saved as the record window saves it.
// Every reading that reaches the data model must be one the instrument sent whole (its
// payload, after the NaN repair, among the answers in the instrument's frame log); the
// sampling must recover; and the record file must hold every completed save.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <set>

#include "display/DateTimeText.h"
#include "display/MeasurementModel.h"
#include "display/WireFormat.h"
#include "link/BindComm1.h"
#include "link/Dispatcher.h"
#include "link/LinkState.h"
#include "link/LinkView.h"
#include "link/SamplingControl.h"
#include "link/TComm.h"
#include "link/TCommForm.h"
#include "platform/MessageBox.h"
#include "record/RecordState.h"
#include "support/PtyPair.h"

namespace {

constexpr int kPort = 5;

QByteArray Digest(const MeasurementSet& set) {
  return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(&set), sizeof set),
                                  QCryptographicHash::Sha1);
}

// The main window's side of the link, with nothing but what the link asks for.
class Stand : public LinkView, public SamplingView, public CommFormHost {
 public:
  Stand() : sampling(*this) { BindComm1(comm, *this); }

  TComm comm;
  SamplingControl sampling;
  std::vector<QByteArray> readings;  // digest of every reading that reached the model
  QElapsedTimer clock;
  TCommForm* form = nullptr;

  // The dispatcher's last word on a complete reading; the refreshes alone also come from
  // the start of sampling, which redraws the data held.
  void SetStatusText(int panel, const QString& text) override {
    if (panel != 0 || text != "Communications to complete") return;
    readings.push_back(Digest(MeasurementData.Set));
  }
  void RefreshChannelPage(int) override {}
  void ShowProgressBar(int) override {}
  void SetProgressPosition(int) override {}
  void RefreshThreePhasePage() override {}
  void RefreshHarmonicGrid() override {}
  void SetReReadTimerEnabled(bool on) override { sampling.SetReReadTimerEnabled(on); }
  void SetContinuousReadTimerEnabled(bool on) override {
    sampling.SetContinuousReadTimerEnabled(on);
  }
  void SetSamplingControlsEnabled(bool on) override { sampling.SetSamplingControlsEnabled(on); }
  void SetSamplingStartEnabled(bool on) override { sampling.SetConnectedControlsEnabled(on); }
  int SpeedIndex() const override { return form ? form->SpeedIndex() : -1; }
  void SetControlEnabled(SamplingControlId, bool) override {}
};

// The payloads of every whole, correct reading answer in the frame log, repaired as the
// dispatcher repairs them.
std::set<QByteArray> SentReadings(const QString& logPath) {
  std::set<QByteArray> sent;
  QFile log(logPath);
  if (!log.open(QIODevice::ReadOnly)) return sent;
  while (!log.atEnd()) {
    const QByteArray line = log.readLine();
    const qsizetype tx = line.indexOf(" TX ");
    if (tx < 0) continue;
    QByteArray hex = line.mid(tx + 4);
    const qsizetype note = hex.indexOf('[');
    if (note >= 0) hex.truncate(note);
    const QByteArray bytes = QByteArray::fromHex(hex.simplified().replace(' ', ""));
    if (bytes.size() != 8161 || bytes[1] != 0x03) continue;
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
    const uint16_t crc = Crc16(b, 8159);
    if (b[8159] != (crc & 0xFF) || b[8160] != (crc >> 8)) continue;
    MeasurementSet set;
    std::memcpy(&set, b + 3, sizeof set);
    RepairMeasurementSet(set);
    sent.insert(Digest(set));
  }
  return sent;
}

struct FaultCase {
  const char* name;
  const char* faults;
  int seconds;
};

class FaultMatrix : public ::testing::TestWithParam<FaultCase> {
 protected:
  void SetUp() override {
    qputenv("RXM5620_CONFIG_DIR", dir.path().toLocal8Bit());
    QFile settings(dir.filePath("SysSet.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[CommPort]\nPort=5\n[CommBaudrate]\nBaudrate=7\n");
    settings.close();
    previousBox_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
    ResetLinkState();
    InitMeasurementRecord(MeasurementData);
    recording.Allocate();
    ResetRecordState(recording);
  }
  void TearDown() override {
    if (sim.state() != QProcess::NotRunning) {
      sim.terminate();
      sim.waitForFinished(5000);
    }
    SetMessageBoxHandler(previousBox_);
    ResetLinkState();
    qunsetenv("RXM5620_CONFIG_DIR");
  }

  QTemporaryDir dir;
  ScopedPortDirectory ports;
  QProcess sim;
  QStringList boxes;
  RecordState recording;

 private:
  MessageBoxHandler previousBox_;
};

TEST_P(FaultMatrix, SamplingRecoversAndOnlyWholeReadingsReachTheModel) {
  const FaultCase& c = GetParam();
  const QString log = dir.filePath("frames.log");
  const QString link = QString::fromStdString(ports.EntryPath(kPort));
  QStringList arguments{"--link", link, "--usb", "--seed", "3", "--log", log};
  if (*c.faults) arguments << "--faults" << c.faults;
  sim.setProgram(QCoreApplication::applicationDirPath() + "/rxm5620-sim");
  sim.setArguments(arguments);
  sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim.start();
  ASSERT_TRUE(sim.waitForStarted(5000));
  ASSERT_TRUE(WaitWithoutEvents([&] { return QFile::exists(link + ".pnp"); }, 10000));

  Stand stand;
  TCommForm form(stand.comm, stand, nullptr);
  stand.form = &form;
  form.FormCreate();
  ASSERT_EQ(UsbMode, 1);
  ASSERT_TRUE(stand.comm.PortOpen());
  // A quicker re-send than the application's 2 s, so that each fault costs little time.
  stand.sampling.SetTimerIntervals(50, 300);
  stand.clock.start();
  stand.sampling.SeSkinButton4Click();
  ASSERT_EQ(SamplingMode, kSamplingContinuous);

  // Recording: a sample every 100 ms and a save every second, as the record window does.
  const QString recordFile = dir.filePath("r.qvr");
  NewRecordFile(recording, recordFile);
  int savedCount = 0;
  QTimer step, save;
  QObject::connect(&step, &QTimer::timeout, [&] {
    TakeSample(recording, MeasurementData, DaysFromDateTime(QDateTime::currentDateTime()));
  });
  QObject::connect(&save, &QTimer::timeout, [&] {
    if (SaveTick(recording).isEmpty()) savedCount = recording.SampleCount;
  });
  step.start(100);
  save.start(1000);

  const qint64 end = c.seconds * 1000;
  WaitUntil([&] { return stand.clock.elapsed() >= end; }, end + 5000);
  // Recovered: readings keep coming after the faults, within a generous deadline.
  const size_t before = stand.readings.size();
  EXPECT_TRUE(WaitUntil([&] { return stand.readings.size() >= before + 3; }, 20000))
      << "no reading after " << c.seconds << " s under " << c.faults;
  stand.sampling.SeSkinSpeedButton9Click();
  step.stop();
  save.stop();
  const int saved = savedCount;

  // Every reading in the model is one the instrument sent whole.
  const std::set<QByteArray> sent = SentReadings(log);
  ASSERT_FALSE(sent.empty());
  int foreign = 0;
  for (const QByteArray& reading : stand.readings) foreign += sent.count(reading) == 0;
  EXPECT_EQ(foreign, 0) << "of " << stand.readings.size() << " readings";
  EXPECT_GE(stand.readings.size(), 5u);

  // The record file holds every sample of its last completed save.
  RecordState reopened;
  reopened.Allocate();
  const OpenedRecording opened = OpenRecordFile(reopened, recordFile);
  EXPECT_EQ(opened.Count, saved);
  for (int i = 0; i < saved; ++i) {
    ASSERT_EQ(reopened.Opened.Times[i], recording.Live.Times[i]) << i;
    ASSERT_EQ(reopened.Opened.Values[0][i], recording.Live.Values[0][i]) << i;
  }
  stand.comm.SetPortOpen(false);
}

const FaultCase kFaults[] = {
    {"none", "", 3},
    {"drop", "drop=3", 4},
    {"crc", "crc=3", 4},
    {"truncate", "truncate=3", 4},
    {"nan", "nan=VoltageTrms@1+LineVoltageAB+Frequency", 3},
    {"silence", "silent=2:1.5", 5},
    {"unplug", "vanish=2:1", 6},
    {"all", "drop=5,crc=7,truncate=9,nan=VoltageTrms@2/3,silent=4:1,vanish=3:1", 8},
};

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
