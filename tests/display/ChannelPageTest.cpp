#include "display/ChannelPage.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstring>
#include <memory>

#include "display/ChannelPageLayout.h"
#include "display/HarmonicChart.h"
#include "display/PlotBox.h"
#include "display/PlotImages.h"
#include "display/RollPanel.h"
#include "display/SideStrip.h"
#include "display/WaveformPlot.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"

namespace {

// The reading of the shared fixture, read as the measurement file it is.
MeasurementRecord KnownReading() {
  QFile file(QStringLiteral(RXM_FIXTURES_DIR "/known-reading.qvm"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_EQ(bytes.size(), kMeasurementRecordSize);
  MeasurementRecord record;
  std::memcpy(&record, bytes.constData(), sizeof record);
  return record;
}

struct ExpectedLabel {
  QString name;
  int channel;
  QString field, caption;
};

std::vector<ExpectedLabel> KnownLabels() {
  QFile file(QStringLiteral(RXM_FIXTURES_DIR "/known-reading.labels.tsv"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  std::vector<ExpectedLabel> labels;
  for (const QByteArray& line : file.readAll().split('\n')) {
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList cells = QString::fromUtf8(line).split('\t');
    EXPECT_EQ(cells.size(), 4) << line.toStdString();
    if (cells.size() == 4) labels.push_back({cells[0], cells[1].toInt(), cells[2], cells[3]});
  }
  return labels;
}

QString Text(const ChannelPage& page, const QString& name) {
  const auto* label = page.findChild<QLabel*>(name);
  return label ? label->text() : QString("<no label %1>").arg(name);
}

class ChannelPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreatePlotImages(QSize(960, 540));  // once per run; a screen of 1920 x 1080
    WaveBackground = QColor(238, 238, 238);
    ScaleColor = QColor(170, 170, 170);
    qputenv("RXM5620_CONFIG_DIR", settings.path().toUtf8());
    previousBoxes = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      messages << r.text;
      return QMessageBox::Ok;
    });
    for (int c = 1; c <= 3; ++c) {
      pages.push_back(std::make_unique<ChannelPage>(c));
      pages.back()->show();
    }
    for (auto& page : pages) page->SetPlotSizeReference(pages[0]->WavePaintBox);
  }
  void TearDown() override {
    SetMessageBoxHandler(previousBoxes);
    qunsetenv("RXM5620_CONFIG_DIR");
  }

  QString SettingsText() {
    QFile file(settings.filePath("SysSet.ini"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QTemporaryDir settings;
  MessageBoxHandler previousBoxes;
  QStringList messages;
  std::vector<std::unique_ptr<ChannelPage>> pages;
};

TEST_F(ChannelPageTest, TheKnownReadingShowsEveryCaptionOfTheThreePages) {
  const MeasurementRecord record = KnownReading();
  for (auto& page : pages) page->RefreshChannelPage(record);
  const std::vector<ExpectedLabel> expected = KnownLabels();
  ASSERT_EQ(expected.size(), 114u);  // 38 value labels on each page
  for (const ExpectedLabel& e : expected) {
    ASSERT_TRUE(e.channel >= 1 && e.channel <= 3);
    EXPECT_EQ(Text(*pages[e.channel - 1], e.name).toStdString(), e.caption.toStdString())
        << e.name.toStdString() << " (" << e.field.toStdString() << ")";
  }
  // Each page holds exactly its own 38 value labels.
  for (int c = 1; c <= 3; ++c) {
    int found = 0;
    for (const ExpectedLabel& e : expected) {
      const auto* label = pages[c - 1]->findChild<QLabel*>(e.name);
      EXPECT_EQ(label != nullptr, e.channel == c) << e.name.toStdString();
      found += label != nullptr;
    }
    EXPECT_EQ(found, 38);
  }
}

TEST_F(ChannelPageTest, AnAllZeroRefreshShowsZeroWithTheUnitInEveryLabel) {
  MeasurementRecord record;
  InitMeasurementRecord(record);
  for (auto& page : pages) page->RefreshChannelPage(record);
  for (const ExpectedLabel& e : KnownLabels()) {
    EXPECT_TRUE(Text(*pages[e.channel - 1], e.name).startsWith("0.0")) << e.name.toStdString();
  }
  struct Case {
    int channel;
    const char* label;
    const char* caption;
  };
  const Case cases[] = {
      {1, "Label3", "0.0 V"},     {1, "Label13", "0.0 deg"}, {1, "Label24", "0.0 %"},
      {1, "Label21", "0.0V"},     {2, "Label214", "0.0 V"},  {3, "Label432", "0.0%"},
      {2, "Label420", "0.0 %"},   {1, "Label14", "0.0 "},    {1, "Label10", "0.0 Hz"},
      {3, "Label337", "0.0 VAR"}, {2, "Label238", "0.0 VA"}, {3, "Label298", "0.0 \u03A9"},
      {1, "Label206", "0.0 "},    {2, "Label248", "0.0 "},   {3, "Label303", "0.0 "},
      {2, "Label224", "0.0 deg"}, {3, "Label272", "0.0 A"},  {1, "Label192", "0.0 W"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(*pages[c.channel - 1], c.label), QString(c.caption)) << c.label;
  }
}

TEST_F(ChannelPageTest, ChannelOneCutsFiveVoltageFieldsToFiveCharactersTheOthersOnlyThePhase) {
  MeasurementRecord record;
  InitMeasurementRecord(record);
  for (ChannelBlock& block : record.Set.Channel) {
    block.VoltagePhase = -123.45f;
    block.CurrentPhase = -123.45f;
    block.VoltageCrestFactor = 12.3456f;
    block.VoltageFormFactor = 12.3456f;
    block.VoltageThdF = 12.3456f;
    block.VoltageThdR = 12.3456f;
    block.VoltageRectifiedMean = 12.3456f;
    block.VoltageFfcr = 12.3456f;
  }
  for (auto& page : pages) page->RefreshChannelPage(record);
  struct Case {
    const char* labels[3];
    const char* captions[3];
  };
  const Case cases[] = {
      {{"Label13", "Label197", "Label261"}, {"-123. deg", "-123. deg", "-123. deg"}},
      {{"Label38", "Label224", "Label278"}, {"-123.4 deg", "-123.4 deg", "-123.4 deg"}},
      {{"Label14", "Label204", "Label262"}, {"12.34 ", "12.346 ", "12.346 "}},
      {{"Label17", "Label210", "Label264"}, {"12.34 ", "12.346 ", "12.346 "}},
      {{"Label24", "Label216", "Label270"}, {"1234. %", "1234.6 %", "1234.6 %"}},
      {{"Label305", "Label309", "Label313"}, {"1234. %", "1234.6 %", "1234.6 %"}},
      {{"Label21", "Label214", "Label268"}, {"12.346V", "12.346 V", "12.346 V"}},
      {{"Label344", "Label420", "Label432"}, {"1234.6 %", "1234.6 %", "1234.6%"}},
  };
  for (const Case& c : cases) {
    for (int ch = 0; ch < 3; ++ch) {
      EXPECT_EQ(Text(*pages[ch], c.labels[ch]), QString(c.captions[ch])) << c.labels[ch];
    }
  }
}

TEST_F(ChannelPageTest, RefreshStoresThePlotsDrawnFromTheChannelsBlockAtTheSizeOfPic1) {
  const MeasurementRecord record = KnownReading();
  for (auto& page : pages) page->RefreshChannelPage(record);
  const QWidget* pic1 = pages[0]->WavePaintBox;
  EXPECT_EQ(pic1->objectName(), "Pic1");
  ASSERT_EQ(pic1->size(), QSize(467, 268));
  EXPECT_EQ(PlotRect, QRect(0, 0, 467, 268));

  QImage expected(ScratchImage.size(), QImage::Format_RGB32);
  const QRect r = PlotRect;
  auto sameInPlotRect = [&](const QImage& stored) { return stored.copy(r) == expected.copy(r); };
  for (int c = 0; c < 3; ++c) {
    SCOPED_TRACE(c + 1);
    const ChannelBlock& block = record.Set.Channel[c];
    DrawWaveformPlot(expected, r, 266, 465, ScaleColor, block, WaveBackground, kCurrentTraceColour,
                     kVoltageTraceColour);
    EXPECT_TRUE(sameInPlotRect(WaveImage[c]));
    DrawHarmonicChart(expected, r, 266, 465, ScaleColor, block, WaveBackground,
                      HarmonicSignal::kVoltage);
    EXPECT_TRUE(sameInPlotRect(VoltageHarmonicImage[c]));
    DrawHarmonicChart(expected, r, 266, 465, ScaleColor, block, WaveBackground,
                      HarmonicSignal::kCurrent);
    EXPECT_TRUE(sameInPlotRect(CurrentHarmonicImage[c]));
    // A repaint copies the stored image and nothing else.
    const QImage shown =
        pages[c]->WavePaintBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, WaveImage[c].copy(r));
  }
}

TEST_F(ChannelPageTest, TheImagesAreNeverReallocated) {
  std::vector<const uchar*> before;
  auto all = [] {
    std::vector<const QImage*> images = {&ScratchImage, &SamplingImage, &PhasorImage};
    for (int c = 0; c < 3; ++c) {
      images.push_back(&WaveImage[c]);
      images.push_back(&VoltageHarmonicImage[c]);
      images.push_back(&CurrentHarmonicImage[c]);
    }
    return images;
  };
  for (const QImage* image : all()) before.push_back(image->constBits());
  EXPECT_FALSE(CreatePlotImages(QSize(100, 100)));
  const MeasurementRecord record = KnownReading();
  for (QSize size : {QSize(978, 605), QSize(1600, 1000), QSize(600, 400)}) {
    for (auto& page : pages) {
      PlaceChannelPage(*page, size);
      page->RefreshChannelPage(record);
    }
  }
  std::vector<const uchar*> after;
  for (const QImage* image : all()) after.push_back(image->constBits());
  EXPECT_EQ(before, after);
  EXPECT_EQ(ScratchImage.size(), QSize(960, 540));
}

TEST_F(ChannelPageTest, WithoutASettingsFileEveryChannelStartsOnTheCurrentChartAndSavesIt) {
  for (auto& page : pages) page->LoadHarmonicChoice();
  for (int c = 1; c <= 3; ++c) {
    const ChannelPage& page = *pages[c - 1];
    EXPECT_EQ(page.HarmonicChoice(), 1);
    EXPECT_TRUE(page.CurrentRadioButton->isChecked());
    EXPECT_FALSE(page.VoltageRadioButton->isChecked());
    EXPECT_EQ(page.HarmonicGroupBox->title(), QString(" Channel %1 current harmonic maps ").arg(c));
    EXPECT_EQ(page.HarmonicPaintBox->Image(), &CurrentHarmonicImage[c - 1]);
  }
  EXPECT_EQ(SettingsText(), "[MyDisplayImage]\nP1DisHar=1\nP2DisHar=1\nP3DisHar=1\n");
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ChannelPageTest, StoredChoicesAreSelectedAndWrittenBackAsZeroOrOne) {
  QFile file(settings.filePath("SysSet.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[mydisplayimage]\np1dishar=0\nP2DisHar=5\nP3DisHar=x1\n");
  file.close();
  pages[0]->LoadHarmonicChoice();
  pages[1]->LoadHarmonicChoice();
  EXPECT_THROW(pages[2]->LoadHarmonicChoice(), EConvertError);
  EXPECT_EQ(pages[0]->HarmonicChoice(), 0);
  EXPECT_EQ(pages[0]->HarmonicGroupBox->title(), " Channel 1 voltage harmonic maps ");
  EXPECT_EQ(pages[1]->HarmonicChoice(), 1);
  EXPECT_FALSE(pages[2]->VoltageRadioButton->isChecked());
  EXPECT_FALSE(pages[2]->CurrentRadioButton->isChecked());
  EXPECT_EQ(SettingsText(), "[mydisplayimage]\np1dishar=0\nP2DisHar=1\nP3DisHar=x1\n");
}

TEST_F(ChannelPageTest, SwitchingTheChoiceShowsTheOtherStoredChartAtOnceAndWritesTheKey) {
  const MeasurementRecord record = KnownReading();
  ChannelPage& page = *pages[1];
  page.RefreshChannelPage(record);
  page.SelectHarmonicChoice(1);
  auto shown = [&] {
    return page.HarmonicPaintBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  EXPECT_EQ(shown(), CurrentHarmonicImage[1].copy(PlotRect));
  ASSERT_NE(CurrentHarmonicImage[1].copy(PlotRect), VoltageHarmonicImage[1].copy(PlotRect));

  // A click on the label of the voltage button checks it.
  QTest::mouseClick(page.VoltageRadioLabel, Qt::LeftButton);
  EXPECT_TRUE(page.VoltageRadioButton->isChecked());
  EXPECT_EQ(page.HarmonicChoice(), 0);
  EXPECT_EQ(page.HarmonicGroupBox->title(), " Channel 2 voltage harmonic maps ");
  EXPECT_EQ(shown(), VoltageHarmonicImage[1].copy(PlotRect));
  EXPECT_EQ(SettingsText(), "[MyDisplayImage]\nP2DisHar=0\n");

  QTest::mouseClick(page.CurrentRadioLabel, Qt::LeftButton);
  EXPECT_EQ(page.HarmonicChoice(), 1);
  EXPECT_EQ(page.HarmonicGroupBox->title(), " Channel 2 current harmonic maps ");
  EXPECT_EQ(shown(), CurrentHarmonicImage[1].copy(PlotRect));
  EXPECT_EQ(SettingsText(), "[MyDisplayImage]\nP2DisHar=1\n");
}

TEST_F(ChannelPageTest, AChoiceThatCannotBeSavedStillTakesEffectAndSaysSo) {
  qputenv("RXM5620_CONFIG_DIR", settings.filePath("missing-folder").toUtf8());
  ChannelPage& page = *pages[2];
  page.SelectHarmonicChoice(0);
  EXPECT_EQ(page.HarmonicChoice(), 0);
  EXPECT_EQ(page.HarmonicPaintBox->Image(), &VoltageHarmonicImage[2]);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains("missing-folder/SysSet.ini")) << messages[0].toStdString();
}

TEST_F(ChannelPageTest, TheSelectionPanelRollsWithAClickOnTheChartOrItsButton) {
  ChannelPage& page = *pages[0];
  RollPanel* panel = page.SelectionPanel;
  EXPECT_EQ(panel->objectName(), "SeSkinPanel5");
  EXPECT_EQ(panel->Caption(), "Signal selection");
  EXPECT_FALSE(panel->Expanded());
  EXPECT_EQ(panel->size(), QSize(125, 22));
  QTest::mouseClick(page.HarmonicPaintBox, Qt::LeftButton);
  EXPECT_TRUE(panel->Expanded());
  EXPECT_EQ(panel->size(), QSize(125, 85));
  EXPECT_EQ(page.VoltageRadioButton->pos(), QPoint(8, 34));
  EXPECT_EQ(page.CurrentRadioLabel->pos(), QPoint(24, 59));
  EXPECT_EQ(page.VoltageRadioLabel->text(), " Voltage harmonics  ");
  EXPECT_EQ(page.CurrentRadioLabel->text(), " Current harmonics  ");
  QTest::mouseClick(panel->RollButton(), Qt::LeftButton);
  EXPECT_FALSE(panel->Expanded());
  EXPECT_EQ(panel->height(), 22);
}

TEST_F(ChannelPageTest, ControlsCarryTheirNamesCaptionsAndStripColours) {
  struct Case {
    int channel;
    const char *sampling, *wave, *harmonic, *chart, *strips[3], *boxes[3];
    QColor fill, text;
  };
  const Case cases[] = {
      {1,
       "GroupBox1",
       "Pic1",
       "GroupBox3",
       "Pic2",
       {"PaintBox13", "PaintBox14", "PaintBox15"},
       {"SeSkinScrollBox5", "SeSkinScrollBox6", "SeSkinScrollBox7"},
       QColor(255, 255, 0),
       QColor(128, 128, 128)},
      {2,
       "GroupBox5",
       "PaintBox1",
       "GroupBox7",
       "PaintBox2",
       {"PaintBox16", "PaintBox17", "PaintBox18"},
       {"SeSkinScrollBox8", "SeSkinScrollBox9", "SeSkinScrollBox10"},
       QColor(0, 128, 0),
       Qt::white},
      {3,
       "GroupBox9",
       "PaintBox4",
       "GroupBox11",
       "PaintBox5",
       {"PaintBox19", "PaintBox20", "PaintBox21"},
       {"SeSkinScrollBox11", "SeSkinScrollBox12", "SeSkinScrollBox13"},
       QColor(255, 0, 0),
       Qt::white},
  };
  const char* titles[3] = {"Voltage", "Current", "Comprehensive"};
  for (const Case& c : cases) {
    const ChannelPage& page = *pages[c.channel - 1];
    EXPECT_EQ(page.SamplingGroupBox->objectName(), c.sampling);
    EXPECT_EQ(page.SamplingGroupBox->title(), QString(" Channel %1 Sampling ").arg(c.channel));
    EXPECT_EQ(page.WavePaintBox->objectName(), c.wave);
    EXPECT_EQ(page.HarmonicGroupBox->objectName(), c.harmonic);
    EXPECT_EQ(page.HarmonicPaintBox->objectName(), c.chart);
    const ValueBox* boxes[3] = {&page.VoltageBox, &page.CurrentBox, &page.PowerBox};
    for (int b = 0; b < 3; ++b) {
      EXPECT_EQ(boxes[b]->Box->objectName(), c.boxes[b]);
      EXPECT_EQ(boxes[b]->Strip->objectName(), c.strips[b]);
      EXPECT_EQ(boxes[b]->Strip->Title(), titles[b]);
      // The strip is filled with its colour and carries text in the text colour.
      const QImage strip = boxes[b]->Strip->grab().toImage();
      EXPECT_EQ(strip.pixelColor(1, 2), c.fill);
      bool text = false;
      for (int y = 10; y < strip.height() && !text; ++y) {
        for (int x = 0; x < 22 && !text; ++x) text = strip.pixelColor(x, y) == c.text;
      }
      EXPECT_TRUE(text) << c.strips[b];
    }
    EXPECT_EQ(page.CurrentBox.Rows[2].Pairs.size(), 2u);
  }
}

TEST_F(ChannelPageTest, TheDefaultPageSizeGivesTheWorkedLayout) {
  const ChannelPage& page = *pages[0];
  EXPECT_EQ(page.SamplingGroupBox->geometry(), QRect(4, 4, 483, 296));
  EXPECT_EQ(page.HarmonicGroupBox->geometry(), QRect(4, 304, 483, 296));
  EXPECT_EQ(page.HarmonicPanel->geometry(), QRect(4, 16, 475, 276));
  EXPECT_EQ(page.HarmonicPaintBox->size(), QSize(467, 268));
  EXPECT_EQ(page.SelectionPanel->x(), 483 - 140);
  EXPECT_EQ(page.VoltageBox.Box->geometry(), QRect(491, 9, 483, 224));
  EXPECT_EQ(page.CurrentBox.Box->geometry(), QRect(491, 237, 483, 224));
  EXPECT_EQ(page.PowerBox.Box->geometry(), QRect(491, 465, 483, 134));
  EXPECT_EQ(page.VoltageBox.Strip->geometry(), QRect(0, 0, 22, 224));
  EXPECT_EQ(page.VoltageBox.Rows[4].Panel->geometry(), QRect(22, 176, 457, 44));
  EXPECT_EQ(page.PowerBox.Rows[2].Panel->geometry(), QRect(22, 86, 457, 43));
  const int captionX[3] = {10, 152, 304}, valueX[3] = {62, 204, 356};
  for (const ValuePair& pair : page.VoltageBox.Rows[0].Pairs) {
    EXPECT_EQ(pair.Caption->pos(), QPoint(captionX[pair.Column], 14));
    EXPECT_EQ(pair.Value->pos(), QPoint(valueX[pair.Column], 11));
  }
  for (const ValuePair& pair : page.PowerBox.Rows[1].Pairs) {
    EXPECT_EQ(pair.Caption->pos(), QPoint(captionX[pair.Column], 13));
  }
}

}  // namespace
