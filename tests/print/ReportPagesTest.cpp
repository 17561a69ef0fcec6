// The report pages drawn onto images at the sizes whose geometry is worked out by hand,
// and into real PDFs whose text is read back with pdftotext.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "files/MeasurementFile.h"
#include "platform/Errors.h"
#include "print/ChannelReport.h"
#include "print/PrintInfo.h"
#include "print/RecordReport.h"
#include "print/ReportDocument.h"
#include "print/ReportFrame.h"
#include "print/ThreePhaseReport.h"

namespace {

const QColor kPageBlack(0, 0, 0);
const QColor kPageGray(128, 128, 128);
const QColor kPageMediumGray(160, 160, 164);

std::unique_ptr<MeasurementRecord> KnownReading() {
  auto record = std::make_unique<MeasurementRecord>();
  ReadMeasurementFile(QStringLiteral(RXM_FIXTURES_DIR "/known-reading.qvm"), *record);
  return record;
}

QImage WhitePage(int W, int H) {
  QImage image(W, H, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

int CountInRow(const QImage& image, int y, int x1, int x2, const QColor& colour) {
  int n = 0;
  for (int x = x1; x <= x2; ++x) n += image.pixelColor(x, y) == colour;
  return n;
}

TEST(ReportFrame, MarginsAndNumberTexts) {
  const PageFrame page = MakePageFrame(4800, 6800);
  EXPECT_EQ(page.L, 266);
  EXPECT_EQ(page.T, 261);
  EXPECT_EQ(page.R, 4534);
  EXPECT_EQ(page.B, 6539);
  EXPECT_TRUE(page.Portrait());
  EXPECT_FALSE(MakePageFrame(6800, 4800).Portrait());
  EXPECT_FALSE(MakePageFrame(500, 500).Portrait());
  struct Case {
    double v;
    QString (*format)(double);
    const char* text;
  };
  const Case cases[] = {{230, D2, "230"},        {230.5, D2, "230.5"}, {123.125, D2, "123.12"},
                        {123.135, D2, "123.14"}, {-0.04, D1, "0"},     {49.987, D2, "49.99"},
                        {0.0015, D3, "0.002"},   {0.0025, D3, "0.002"}};
  for (const Case& c : cases) EXPECT_EQ(c.format(c.v), c.text) << c.v;
}

TEST(ChannelReport, GeometryOfAPortraitPageOf4800By6800) {
  const auto record = KnownReading();
  QImage image = WhitePage(4800, 6800);
  {
    QPainter painter(&image);
    DrawChannelReport(painter, 4800, 6800, record->Set.Channel[0], 1, PrintInfo{});
  }
  // Waveform box (266, 489)–(2906, 1509): its top, right and bottom edges.
  EXPECT_EQ(image.pixelColor(2000, 489), kPageBlack);
  EXPECT_EQ(image.pixelColor(2906, 1000), kPageBlack);
  EXPECT_EQ(image.pixelColor(2000, 1509), kPageBlack);
  EXPECT_EQ(image.pixelColor(2910, 1000), Qt::white);
  // Header rule at y = 430, 9 pixels wide, across the printable width.
  EXPECT_EQ(image.pixelColor(4000, 430), kPageGray);
  EXPECT_EQ(image.pixelColor(4000, 425), Qt::white);
  EXPECT_EQ(image.pixelColor(4000, 435), Qt::white);
  // Voltage chart (266, 1564)–(2906, 2584), baseline at 2431; between two bars (column
  // step 49) the baseline shows.
  EXPECT_EQ(image.pixelColor(2000, 1564), kPageBlack);
  EXPECT_EQ(image.pixelColor(266 + 24 + 20 * 49 + 10, 2431), kPageGray);
  // Value panel (2952, 489)–(4534, 2529), rows 127 apart.
  EXPECT_EQ(image.pixelColor(2952, 1500), kPageBlack);
  EXPECT_EQ(image.pixelColor(4500, 489 + 127), kPageBlack);
  EXPECT_EQ(image.pixelColor(4500, 489 + 127 + 3), Qt::white);
  EXPECT_EQ(image.pixelColor(4534, 2529 - 5), kPageBlack);
  // Harmonic table (266, 3841)–(4534, 6154), columns of 285 and rows of 122 pixels.
  EXPECT_EQ(image.pixelColor(266 + 285, 5000), kPageGray);
  EXPECT_EQ(image.pixelColor(4400, 3841 + 122), kPageGray);
  EXPECT_EQ(image.pixelColor(4534, 5000).lightness(), 0);
  EXPECT_EQ(image.pixelColor(266 + 285 + 3, 5000), Qt::white);
}

TEST(ChannelReport, TracesOfABlockWithoutSamplesStandOnTheLeftEdge) {
  ChannelBlock block{};
  block.WaveSampleCount = 0;
  for (int k = 0; k < 512; ++k) block.VoltageWave[k] = static_cast<int16_t>(k % 2 ? 1000 : -1000);
  QImage image = WhitePage(4800, 6800);
  {
    QPainter painter(&image);
    DrawChannelReport(painter, 4800, 6800, block, 2, PrintInfo{});
  }
  // Nothing of the traces between the edges, except the grid rows.
  int coloured = 0;
  for (int y = 495; y < 1505; y += 7) coloured += image.pixelColor(1500, y) == QColor(0, 128, 0);
  EXPECT_EQ(coloured, 0);
  EXPECT_EQ(image.pixelColor(266, 700), QColor(0, 128, 0));
}

TEST(ThreePhaseReport, GeometryOfAPortraitPageOf4800By6800) {
  const auto record = KnownReading();
  QImage image = WhitePage(4800, 6800);
  {
    QPainter painter(&image);
    VectorChoice none{};
    DrawThreePhaseReport(painter, 4800, 6800, *record, 4, none, PrintInfo{});
  }
  // Sampling box (266, 489)–(2906, 4909).
  EXPECT_EQ(image.pixelColor(1500, 489), kPageBlack);
  EXPECT_EQ(image.pixelColor(1500, 4909), kPageBlack);
  EXPECT_EQ(image.pixelColor(2906, 3000), kPageBlack);
  // Strip centre lines at 857, 1594, …, 4540: solid medium gray but where a trace crosses.
  for (int y : {857, 1594, 2330, 3067, 3804, 4540})
    EXPECT_GT(CountInRow(image, y, 300, 2600, kPageMediumGray), 2000) << y;
  // Vector box (266, 4977)–(2906, 6201): centre (1586, 5589), radius 582. A column 300
  // pixels right of the centre meets the outer circle at 5589 − √(582² − 300²) ≈ 5090.
  EXPECT_EQ(image.pixelColor(1500, 4977), kPageBlack);
  EXPECT_EQ(image.pixelColor(1500, 6201), kPageBlack);
  int circle = -1;
  for (int y = 4980; y < 5589 && circle < 0; ++y)
    if (image.pixelColor(1886, y) == kPageMediumGray) circle = y;
  EXPECT_NEAR(circle, 5090 - 5 / 2, 2);  // the pen is 5 pixels wide
  // No vector is chosen: nothing orange, the colour of Ua.
  int orange = 0;
  for (int y = 4980; y < 6200; y += 3)
    for (int x = 270; x < 2900; x += 3) orange += image.pixelColor(x, y) == QColor(255, 128, 0);
  EXPECT_EQ(orange, 0);
  // Value rows 238 pixels apart from 510: labels from x = 3026, values from 3914.
  auto ink = [&](int x1, int x2, int y) {
    int n = 0;
    for (int yy = y; yy < y + 14; ++yy)
      for (int x = x1; x <= x2; ++x) n += image.pixelColor(x, yy).lightness() < 128;
    return n;
  };
  for (int k : {0, 1, 23}) {
    const int y = 510 + 238 * k;
    EXPECT_GT(ink(3026, 3060, y), 0) << k;
    EXPECT_EQ(ink(2950, 3025, y), 0) << k;
    EXPECT_GT(ink(3914, 3950, y), 0) << k;
  }
}

// A recording of `count` samples whose channels hold `values[c]` throughout.
struct Recording {
  explicit Recording(int count, std::array<float, kRecordChannels> values) {
    for (int c = 0; c < kRecordChannels; ++c) {
      channels[c].assign(static_cast<size_t>(count), values[static_cast<size_t>(c)]);
      buffers.Values[c] = channels[c].data();
    }
    times.assign(static_cast<size_t>(count), 46366.0);
    buffers.Times = times.data();
    data.Data.Buffers = &buffers;
    data.Data.Count = count - 1;
    data.Data.Last = count - 1;
    data.Data.FileReady = true;
    data.Data.ViewMode = 1;
  }
  std::vector<float> channels[kRecordChannels];
  std::vector<double> times;
  SampleBuffers buffers;
  RecordReportData data;
};

TEST(RecordReport, GridAndScaleOfAPreviewPageOf800By565) {
  QImage image = WhitePage(800, 565);
  RecordChartState state;
  Recording none(1, {0, 0, 0, 0, 0, 0});
  none.data.Data.FileReady = false;
  {
    QPainter painter(&image);
    DrawRecordReport(painter, 800, 565, 1, state, none.data, PrintInfo{});
  }
  // L = 44, CW = 655, CH = 353, Yg = 48: the scale's line at x = 720 from 48 to 401, grid
  // lines every 20 pixels.
  EXPECT_EQ(image.pixelColor(720, 200), kPageBlack);
  EXPECT_EQ(image.pixelColor(720, 410), Qt::white);
  const QColor light(221, 221, 221);
  int dots = 0;
  for (int y = 48; y <= 401; ++y) dots += image.pixelColor(64, y) == light;
  EXPECT_GT(dots, 100);
  EXPECT_EQ(image.pixelColor(74, 200), Qt::white);
}

TEST(RecordReport, CurvesAndOverflowMarksOnPaperOf6800By4800) {
  // A constant 100 at scale 3: v = Round(100 × 3 × 2992 / 500) = 1795, so the curve runs
  // at y = 405 + 2992 − 1795 = 1602, at most 556 points 10 pixels apart from x = 377.
  Recording recording(1000, {100, 1e6f, 0, 0, 0, 0});
  RecordChartState state;
  for (int c = 2; c < kRecordChannels; ++c) state.ChannelVisible[c] = false;
  QImage image = WhitePage(6800, 4800);
  {
    QPainter painter(&image);
    DrawRecordReport(painter, 6800, 4800, 10, state, recording.data, PrintInfo{});
  }
  const QColor green(0, 128, 0), red(255, 0, 0);
  EXPECT_EQ(image.pixelColor(1000, 1602), green);
  EXPECT_EQ(image.pixelColor(377 + 555 * 10 - 5, 1602), green);
  EXPECT_NE(image.pixelColor(377 + 555 * 10 + 20, 1602), green);
  EXPECT_FALSE(state.OverflowHigh[0]);
  // Channel B leaves the top: its curve runs along nothing, its up mark is drawn at
  // x = R − 1320 = 5103.
  EXPECT_TRUE(state.OverflowHigh[1]);
  EXPECT_FALSE(state.OverflowLow[1]);
  EXPECT_EQ(image.pixelColor(5137, 405), red);
  EXPECT_EQ(CountInRow(image, 1000, 400, 5000, red), 0);
}

class ReportPdf : public ::testing::Test {
 protected:
  void SetUp() override { qputenv("RXM5620_CONFIG_DIR", dir.path().toUtf8()); }
  void TearDown() override { qunsetenv("RXM5620_CONFIG_DIR"); }

  QString Text(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(process.waitForFinished(60000));
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  QTemporaryDir dir;
};

TEST_F(ReportPdf, TheTextOfAPdfReportCanBeSearched) {
  auto record = KnownReading();
  record->Set.Channel[0].VoltageTrms = 1234.5f;
  record->Set.ThreePhase.EnergyWp = 123.125;
  MeasurementReport report;
  report.Record = record.get();

  // Without EnterInfo.ini every value is "2" and the unit "F ".
  report.Info = ReadPrintInfo();
  const QString defaults = dir.filePath("defaults.pdf");
  SaveReportPdf(defaults, report, "2TestReport");
  const QString plain = Text(defaults);
  EXPECT_TRUE(plain.contains("Power Analysis Report"));
  EXPECT_TRUE(plain.contains("Channel 1 /Page 1"));
  EXPECT_TRUE(plain.contains("Three-phase analysis /Page 4"));
  EXPECT_TRUE(plain.contains(QString::fromUtf8("Project Name：2"))) << plain.toStdString();
  EXPECT_TRUE(plain.contains(QString::fromUtf8("Temperature：2F"))) << plain.toStdString();
  EXPECT_TRUE(plain.contains("1.23 K V")) << plain.toStdString();
  EXPECT_TRUE(plain.contains("123.12 KWH")) << plain.toStdString();

  IniFile info = PrintInfoFile();
  info.WriteString("PrintInfo", "ProjectName", QString::fromUtf8("变电站三号线"));
  info.WriteString("PrintInfo", "company", QString::fromUtf8("电力测试中心"));
  info.WriteString("PrintInfo", "temperature", "23.5");
  info.WriteString("PrintInfo", "units", "1");
  report.Info = ReadPrintInfo();
  report.Pages = {1};
  const QString chinese = dir.filePath("chinese.pdf");
  SaveReportPdf(chinese, report, report.Info.ProjectName + "TestReport");
  const QString text = Text(chinese);
  EXPECT_TRUE(text.contains(QString::fromUtf8("Project Name：变电站三号线"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QString::fromUtf8("Licenser：电力测试中心"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QString::fromUtf8("Temperature：23.5℃"))) << text.toStdString();
  EXPECT_FALSE(text.contains("Three-phase analysis"));
}

TEST_F(ReportPdf, AFailureLeavesNoFileAndKeepsTheOldOne) {
  const QString path = dir.filePath("report.pdf");
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old report");
  old.close();
  EXPECT_THROW(SavePdf(path, "t", QPageLayout::Portrait,
                       [](QPainter& painter, QPagedPaintDevice& device) {
                         painter.drawLine(0, 0, 100, 100);
                         device.newPage();
                         throw EConvertError("'x' is not a valid integer value");
                       }),
               EConvertError);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "old report");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});

  // A units value that is not a number stops before anything is drawn.
  PrintInfoFile().WriteString("PrintInfo", "units", "Celsius");
  EXPECT_THROW(ReadPrintInfo(), EConvertError);
}

}  // namespace
