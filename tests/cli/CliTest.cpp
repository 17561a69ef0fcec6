// The batch tool as a script runs it: a real process, real files, and the simulated
// instrument over a pseudo-terminal.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <limits>

#include "display/MeasurementModel.h"
#include "files/MeasurementFile.h"
#include "record/RecordFile.h"
#include "record/RecordParameters.h"
#include "support/PtyPair.h"

namespace {

const QString kKnownReading = QStringLiteral(RXM_FIXTURES_DIR "/known-reading.qvm");
const QString kKnownRecord = QStringLiteral(RXM_FIXTURES_DIR "/known-record.qvr");

struct Outcome {
  int code = -1;
  QString out, err;
};

class Cli : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid() && portDir.isValid()); }
  void TearDown() override {
    if (sim.state() != QProcess::NotRunning) {
      sim.terminate();
      sim.waitForFinished(5000);
    }
  }

  static QString Binary(const char* name) {
    return QCoreApplication::applicationDirPath() + "/" + name;
  }
  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RXM5620_PORT_DIR", portDir.path());
    env.insert("RXM5620_SYSTEM_PORTS", "0");
    env.remove("QT_QPA_PLATFORM");  // the tool must find its platform by itself
    return env;
  }
  void Start(QProcess& process, const QStringList& arguments) {
    process.setProgram(Binary("rxm5620-cli"));
    process.setArguments(arguments);
    process.setProcessEnvironment(Environment());
    process.start();
    ASSERT_TRUE(process.waitForStarted(10000));
  }
  Outcome RunCli(const QStringList& arguments, int timeoutMs = 120000) {
    QProcess process;
    Start(process, arguments);
    EXPECT_TRUE(process.waitForFinished(timeoutMs)) << arguments.join(' ').toStdString();
    Outcome run;
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
  }
  // The simulated instrument on COM<port>, paced by the speed the tool sets.
  void StartSimulator(int port, const QStringList& extra = {}) {
    const QString link = portDir.filePath(QString("COM%1").arg(port));
    sim.setProgram(Binary("rxm5620-sim"));
    sim.setArguments(QStringList{"--link", link, "--seed", "7", "--baud", "auto"} + extra);
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start();
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(WaitWithoutEvents([&] { return QFile::exists(link); }, 10000));
  }
  QString Path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  QTemporaryDir portDir;
  QProcess sim;
};

QStringList DataLines(const QString& text) {
  return text.split('\n', Qt::SkipEmptyParts);
}

// The expected caption of every channel-page value of the known reading, per channel, in
// the fixture's order of fields.
std::vector<QStringList> KnownCaptions() {
  QFile file(QStringLiteral(RXM_FIXTURES_DIR "/known-reading.labels.tsv"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  std::vector<QStringList> captions(3);
  for (const QByteArray& line : file.readAll().split('\n')) {
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList cells = QString::fromUtf8(line).split('\t');
    if (cells.size() == 4) captions[cells[1].toInt() - 1] << cells[3];
  }
  return captions;
}

TEST_F(Cli, ShowPrintsEveryCaptionOfTheKnownReading) {
  const Outcome run = RunCli({"show", kKnownReading});
  ASSERT_EQ(run.code, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  const QStringList lines = DataLines(run.out);
  const std::vector<QStringList> known = KnownCaptions();
  int compared = 0;
  for (int c = 0; c < 3; ++c) {
    QStringList shown;
    for (const QString& line : lines) {
      const QStringList cells = line.split('\t');
      ASSERT_EQ(cells.size(), 4) << line.toStdString();
      if (cells[0] == QString("Channel %1").arg(c + 1)) shown << cells[3];
    }
    EXPECT_EQ(shown, known[c]) << "channel " << c + 1;
    compared += static_cast<int>(known[c].size());
  }
  EXPECT_EQ(compared, 114);
  EXPECT_TRUE(lines.contains("Channel 1\tVoltage\tTRMS\t230.45 V"));
  EXPECT_TRUE(lines.contains("Channel 2\tCurrent\tK-Factor\t" + known[1][28]));
  EXPECT_TRUE(lines.contains("Channel 3\tComprehensive\tKWH\t" + known[2][35]));
  // The three-phase page in four-wire mode: every box, the unbalance values included.
  EXPECT_EQ(lines.filter(QRegularExpression("^Three-phase Analysis\t")).size(), 42);
  EXPECT_TRUE(lines.contains("Three-phase Analysis\tComprehensive\tU1\t230.45 V"));
  EXPECT_TRUE(lines.filter(QRegularExpression("^Three-phase Analysis\tUnbalance\t"))
                  .filter("NSF")
                  .isEmpty());
}

TEST_F(Cli, ShowJsonHoldsTheRawNumbersAndNullForNaN) {
  MeasurementRecord record{};
  ReadMeasurementFile(kKnownReading, record);
  record.Set.Channel[1].Impedance = std::numeric_limits<float>::quiet_NaN();
  record.Set.ThreePhase.EnergyKvah = std::numeric_limits<double>::infinity();
  const QString copy = Path("nan.qvm");
  WriteMeasurementFile(copy, record);

  const Outcome run = RunCli({"show", "--json", copy});
  ASSERT_EQ(run.code, 0) << run.err.toStdString();
  const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8()).object();
  EXPECT_EQ(root["date"].toString(), "2026-12-10 09:30:15");
  EXPECT_EQ(root["wiring"].toInt(), 3);
  const QJsonArray channels = root["channels"].toArray();
  ASSERT_EQ(channels.size(), 3);
  EXPECT_EQ(channels[0].toObject()["VoltageTrms"].toDouble(), 230.4567);  // no float noise
  EXPECT_EQ(static_cast<float>(channels[2].toObject()["VoltageTrms"].toDouble()),
            record.Set.Channel[2].VoltageTrms);
  const double kwh = record.Set.Channel[0].EnergyKwh;
  EXPECT_EQ(channels[0].toObject()["EnergyKwh"].toDouble(), kwh);
  EXPECT_TRUE(channels[1].toObject()["Impedance"].isNull());
  EXPECT_EQ(channels[0].toObject().size(), 38);
  const QJsonObject threePhase = root["three_phase"].toObject();
  EXPECT_EQ(static_cast<float>(threePhase["LineVoltageAB"].toDouble()),
            record.Set.ThreePhase.LineVoltageAB);
  EXPECT_TRUE(threePhase["EnergyKvah"].isNull());
  EXPECT_FALSE(threePhase.contains("VoltageTrms"));
}

struct UsageCase {
  QStringList arguments;
  const char* mention;  // a part of the one line on stderr
};

TEST_F(Cli, BadUsageExitsWithTwoAndSaysWhatIsWrong) {
  const UsageCase cases[] = {
      {{}, "Usage: rxm5620-cli COMMAND"},
      {{"fetch"}, "unknown command \"fetch\""},
      {{"show", "--colour", kKnownReading}, "Unknown option 'colour'"},
      {{"show"}, "FILE.qvm is missing"},
      {{"read"}, "--port is required"},
      {{"read", "--port", "LPT1"}, "--port: \"LPT1\""},
      {{"read", "--port", "COM256"}, "--port: \"COM256\""},
      {{"read", "--port", "COM3", "--baud", "12345"}, "--baud: \"12345\""},
      {{"read", "--port", "COM3", "--address", "0"}, "--address: \"0\""},
      {{"read", "--port", "COM3", "--timeout", "soon"}, "--timeout: \"soon\""},
      {{"read", "--port"}, "Missing value after '--port'"},
      {{"export", kKnownRecord}, "give one of --xlsx"},
      {{"export", kKnownRecord, "--csv", "a.csv", "--xlsx", "a.xlsx"}, "give one of --xlsx"},
      {{"record", "--port", "COM3", "--params", "0,1,2,3,4", "--step", "0", "--save", "0",
        "--duration", "5", "--out", "r.qvr"},
       "--params: \"0,1,2,3,4\""},
      {{"record", "--port", "COM3", "--params", "0,1,2,3,4,115", "--step", "0", "--save", "0",
        "--duration", "5", "--out", "r.qvr"},
       "--params"},
      {{"record", "--port", "COM3", "--params", "0,1,2,3,4,5", "--step", "12", "--save", "0",
        "--duration", "5", "--out", "r.qvr"},
       "--step: \"12\""},
      {{"record", "--port", "COM3", "--params", "0,1,2,3,4,5", "--step", "0", "--save", "6",
        "--duration", "5", "--out", "r.qvr"},
       "--save: \"6\""},
      {{"record", "--port", "COM3", "--params", "0,1,2,3,4,5", "--step", "0", "--save", "0",
        "--duration", "10x", "--out", "r.qvr"},
       "--duration: \"10x\""},
      {{"record", "--port", "COM3", "--params", "0,1,2,3,4,5", "--step", "0", "--save", "0",
        "--duration", "5"},
       "--out is required"},
  };
  for (const UsageCase& c : cases) {
    const Outcome run = RunCli(c.arguments);
    EXPECT_EQ(run.code, 2) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(c.mention))
        << c.arguments.join(' ').toStdString() << ": " << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
  EXPECT_FALSE(QFile::exists("r.qvr"));
}

TEST_F(Cli, HelpOfTheToolAndOfEachCommand) {
  const Outcome tool = RunCli({"--help"});
  EXPECT_EQ(tool.code, 0);
  for (const char* command : {"read", "show", "report", "export", "record"}) {
    EXPECT_TRUE(tool.out.contains(QString("  ") + command)) << command;
    const Outcome help = RunCli({command, "--help"});
    EXPECT_EQ(help.code, 0) << command;
    EXPECT_TRUE(help.out.startsWith(QString("Usage: rxm5620-cli ") + command))
        << help.out.toStdString();
  }
}

TEST_F(Cli, MalformedInputFilesFailWithOneAndLeaveNoOutput) {
  QFile shortFile(Path("short.qvm"));
  ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
  shortFile.write(QByteArray(100, '\x01'));
  shortFile.close();
  QFile noRecord(Path("empty.qvr"));
  ASSERT_TRUE(noRecord.open(QIODevice::WriteOnly));
  noRecord.write(QByteArray(1000, '\x02'));
  noRecord.close();

  const Outcome show = RunCli({"show", Path("short.qvm")});
  EXPECT_EQ(show.code, 1);
  EXPECT_TRUE(show.err.startsWith("rxm5620-cli: " + Path("short.qvm") + ": "))
      << show.err.toStdString();
  EXPECT_EQ(show.err.count('\n'), 1);
  EXPECT_TRUE(show.out.isEmpty());

  const Outcome missing = RunCli({"show", Path("absent.qvm")});
  EXPECT_EQ(missing.code, 1);

  const Outcome exported = RunCli({"export", Path("empty.qvr"), "--csv", Path("out.csv")});
  EXPECT_EQ(exported.code, 1);
  EXPECT_TRUE(exported.err.contains("not a record file")) << exported.err.toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"empty.qvr", "short.qvm"}));
}

TEST_F(Cli, ExportCsvOfTheKnownRecordingRoundTripsToItsBuffers) {
  const Outcome run = RunCli({"export", kKnownRecord, "--csv", Path("known.csv")});
  ASSERT_EQ(run.code, 0) << run.err.toStdString();

  // What opening the file gives, read by the record file module itself.
  std::vector<float> values[kRecordChannels];
  std::vector<double> times(kRecordCapacity);
  SampleBuffers buffers;
  for (int c = 0; c < kRecordChannels; ++c) {
    values[c].resize(kRecordCapacity);
    buffers.Values[c] = values[c].data();
  }
  buffers.Times = times.data();
  auto scratch = std::make_unique<RecordBlockData>();
  const OpenedRecording opened = ReadRecordFile(kKnownRecord, buffers, *scratch);
  ASSERT_EQ(opened.Count, 1500);

  QFile csv(Path("known.csv"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = csv.readAll().trimmed().split('\n');
  ASSERT_EQ(lines.size(), 1 + 1500);
  EXPECT_TRUE(lines[0].startsWith("Time,CH1:CH1 Voltage trms,")) << lines[0].toStdString();
  EXPECT_TRUE(lines[0].trimmed().endsWith("CH6:PCUR")) << lines[0].toStdString();
  for (int i : {0, 1, 999, 1000, 1499}) {
    const QList<QByteArray> cells = lines[1 + i].trimmed().split(',');
    ASSERT_EQ(cells.size(), 1 + kRecordChannels) << lines[1 + i].toStdString();
    for (int c = 0; c < kRecordChannels; ++c)
      EXPECT_EQ(cells[1 + c].toFloat(), values[c][i]) << "sample " << i << " channel " << c;
  }
}

QString PdfText(const QString& pdf) {
  QProcess process;
  process.start("pdftotext", {"-layout", pdf, "-"});
  EXPECT_TRUE(process.waitForFinished(60000));
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(Cli, ReportDrawsTheChosenPagesOfAReadingOrTheRecordPage) {
  QFile info(Path("info.ini"));
  ASSERT_TRUE(info.open(QIODevice::WriteOnly));
  info.write("[PrintInfo]\nProjectName=Bench 17\ntemperature=21\nunits=1\n");
  info.close();
  const Outcome run = RunCli({"report", kKnownReading, "--pdf", Path("r.pdf"), "--pages", "4,2",
                              "--info", Path("info.ini")});
  ASSERT_EQ(run.code, 0) << run.err.toStdString();
  const QString text = PdfText(Path("r.pdf"));
  EXPECT_TRUE(text.contains("Power Analysis Report"));
  EXPECT_TRUE(text.indexOf("Three-phase analysis /Page 4") < text.indexOf("Channel 2 /Page 2"));
  EXPECT_FALSE(text.contains("Channel 1 /Page 1"));
  EXPECT_TRUE(text.contains("253.5 V")) << text.toStdString();  // channel 2's TRMS, 2 decimals
  EXPECT_TRUE(text.contains(QString::fromUtf8("Project Name：Bench 17")));
  EXPECT_TRUE(text.contains(QString::fromUtf8("Temperature：21℃")));

  const Outcome record = RunCli({"report", kKnownRecord, "--pdf", Path("record.pdf")});
  ASSERT_EQ(record.code, 0) << record.err.toStdString();
  const QString page = PdfText(Path("record.pdf"));
  EXPECT_TRUE(page.contains("Record Report"));
  EXPECT_TRUE(page.contains("CHa: CH1 Voltage trms"));
  EXPECT_TRUE(page.contains("CHf: PCUR"));

  // A file that is not a reading, or information that is not sound: exit 1, no PDF.
  QFile bad(Path("bad.qvm"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("short");
  bad.close();
  EXPECT_EQ(RunCli({"report", Path("bad.qvm"), "--pdf", Path("bad.pdf")}).code, 1);
  ASSERT_TRUE(info.open(QIODevice::WriteOnly));
  info.write("[PrintInfo]\nunits=warm\n");
  info.close();
  const Outcome units =
      RunCli({"report", kKnownReading, "--pdf", Path("bad.pdf"), "--info", Path("info.ini")});
  EXPECT_EQ(units.code, 1);
  EXPECT_TRUE(units.err.contains("'warm' is not a valid integer value")) << units.err.toStdString();
  EXPECT_FALSE(QFile::exists(Path("bad.pdf")));
  EXPECT_EQ(RunCli({"report", kKnownReading, "--pdf", Path("x.pdf"), "--pages", "5"}).code, 2);
}

TEST_F(Cli, ReadSavesWhatTheSimulatorSentAndShowAgrees) {
  StartSimulator(5);
  const Outcome read =
      RunCli({"read", "--port", "COM5", "--baud", "115200", "--out", Path("r.qvm"), "--json"});
  ASSERT_EQ(read.code, 0) << read.err.toStdString();
  ASSERT_EQ(QFileInfo(Path("r.qvm")).size(), 8386);
  MeasurementRecord saved{};
  ReadMeasurementFile(Path("r.qvm"), saved);
  EXPECT_NEAR(saved.Set.Channel[0].VoltageTrms, 230.0f, 10.0f);
  EXPECT_NEAR(saved.Set.Channel[0].Frequency, 50.0f, 0.5f);
  EXPECT_NE(saved.DateTimeText[0], '\0');

  const Outcome show = RunCli({"show", "--json", Path("r.qvm")});
  ASSERT_EQ(show.code, 0);
  EXPECT_EQ(QJsonDocument::fromJson(show.out.toUtf8()), QJsonDocument::fromJson(read.out.toUtf8()));
  const QJsonObject root = QJsonDocument::fromJson(read.out.toUtf8()).object();
  EXPECT_EQ(static_cast<float>(root["channels"][0]["VoltageTrms"].toDouble()),
            saved.Set.Channel[0].VoltageTrms);

  // Without --out or --json: the table; --trace shows the frames.
  const Outcome table = RunCli({"read", "--port", "COM5", "--baud", "115200", "--trace"});
  ASSERT_EQ(table.code, 0) << table.err.toStdString();
  EXPECT_EQ(DataLines(table.out).size(), 3 * 38 + 42);
  EXPECT_TRUE(table.err.contains("TX 02 03 00 29 00 02")) << table.err.toStdString();
  EXPECT_TRUE(table.err.contains("register 41")) << table.err.toStdString();
}

TEST_F(Cli, AnAbsentPortFailsAtOnceAndASilentOneAfterTheTimeout) {
  QElapsedTimer clock;
  clock.start();
  const Outcome absent =
      RunCli({"read", "--port", "COM9", "--timeout", "30", "--out", Path("r.qvm")});
  EXPECT_EQ(absent.code, 1);
  EXPECT_TRUE(absent.err.startsWith("rxm5620-cli: COM9: cannot open the port: no such port"))
      << absent.err.toStdString();
  EXPECT_LT(clock.elapsed(), 25000);  // no retries against a port that is not there

  PtyPair silent;  // a line with nobody at the other end
  const Outcome quiet = RunCli({"read", "--port", QString::fromStdString(silent.SlavePath()),
                                "--baud", "115200", "--timeout", "3", "--out", Path("r.qvm")});
  EXPECT_EQ(quiet.code, 1);
  EXPECT_TRUE(quiet.err.contains("no reading within 3 s")) << quiet.err.toStdString();
  EXPECT_TRUE(quiet.err.contains("nothing came back")) << quiet.err.toStdString();
  EXPECT_FALSE(QFile::exists(Path("r.qvm")));
}

TEST_F(Cli, RecordTakesSamplesForTheDurationAndSavesThem) {
  StartSimulator(6);
  const Outcome run =
      RunCli({"record", "--port", "COM6", "--baud", "115200", "--params", "0,15,29,36,99,114",
              "--step", "0", "--save", "0", "--duration", "4s", "--out", Path("trend.qvr")});
  ASSERT_EQ(run.code, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("samples,")) << run.err.toStdString();

  std::vector<float> values[kRecordChannels];
  std::vector<double> times(kRecordCapacity);
  SampleBuffers buffers;
  for (int c = 0; c < kRecordChannels; ++c) {
    values[c].resize(kRecordCapacity);
    buffers.Values[c] = values[c].data();
  }
  buffers.Times = times.data();
  auto scratch = std::make_unique<RecordBlockData>();
  const OpenedRecording opened = ReadRecordFile(Path("trend.qvr"), buffers, *scratch);
  EXPECT_EQ(opened.Records, 1);
  EXPECT_GE(opened.Count, 1);
  EXPECT_LE(opened.Count, 5);
  const uint8_t expected[kRecordChannels] = {0, 15, 29, 36, 99, 114};
  EXPECT_EQ(std::memcmp(opened.Parameters, expected, sizeof expected), 0);
  EXPECT_NEAR(values[0][0], 230.0f, 10.0f);  // CH1 voltage
  EXPECT_GT(times[0], 40000.0);
}

TEST_F(Cli, ARecordingSaysWhenTheReadingsStop) {
  StartSimulator(9);
  QProcess process;
  Start(process, {"record", "--port", "COM9", "--baud", "115200", "--params", "0,1,2,3,4,5",
                  "--step", "0", "--save", "0", "--duration", "1h", "--out", Path("gap.qvr")});
  QByteArray err;
  auto waitFor = [&](const char* text) {
    return WaitWithoutEvents(
        [&] {
          process.waitForReadyRead(100);
          err += process.readAllStandardError();
          return err.contains(text);
        },
        90000);
  };
  ASSERT_TRUE(waitFor(" samples, ")) << err.toStdString();  // the first save, 10 s in
  ::kill(static_cast<pid_t>(sim.processId()), SIGSTOP);     // the instrument goes quiet
  ASSERT_TRUE(waitFor("COM9: no reading since the last save")) << err.toStdString();
  ::kill(static_cast<pid_t>(sim.processId()), SIGCONT);
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
}

TEST_F(Cli, RecordEndsOnSigtermWithAFinalSave) {
  StartSimulator(8);
  QProcess process;
  Start(process, {"record", "--port", "COM8", "--baud", "115200", "--params", "0,1,2,3,4,5",
                  "--step", "0", "--save", "0", "--duration", "1h", "--out", Path("long.qvr")});
  // The first save, 10 s in, tells how many samples it wrote.
  QByteArray err;
  ASSERT_TRUE(WaitWithoutEvents(
      [&] {
        process.waitForReadyRead(100);
        err += process.readAllStandardError();
        return err.contains(" samples, ");
      },
      90000))
      << err.toStdString();
  ASSERT_TRUE(QFile::exists(Path("long.qvr")));
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(30000));
  err += process.readAllStandardError();
  EXPECT_EQ(process.exitCode(), 0) << err.toStdString();
  EXPECT_TRUE(err.contains("stopped by a signal")) << err.toStdString();
  QFile file(Path("long.qvr"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_EQ(bytes.size(), kRecordBlockSize);
  int32_t count = 0;
  std::memcpy(&count, bytes.constData() + offsetof(RecordBlockData, Count), sizeof count);
  EXPECT_GE(count, 1);
}

}  // namespace
