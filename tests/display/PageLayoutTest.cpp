#include "display/PageLayout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTabWidget>
#include <algorithm>
#include <memory>

#include "display/ChannelPage.h"
#include "display/ChannelPageLayout.h"
#include "display/HarmonicReportPage.h"
#include "display/PlotImages.h"
#include "display/ThreePhasePage.h"
#include "platform/Sleep.h"

namespace {

constexpr QSize kWorked(978, 605);

TEST(PageLayout, TheWorkedSizesOfTheChannelPages) {
  const PageGeometry g = ComputePageGeometry(kWorked);
  EXPECT_EQ(g.Gw, 483);
  EXPECT_EQ(g.Gh, 296);
  EXPECT_EQ(g.Xr, 491);
  EXPECT_EQ(g.Wr, 457);
  EXPECT_EQ(g.PlotPaintBox.size(), QSize(467, 268));
  EXPECT_EQ(g.VoltageBox, QRect(491, 9, 483, 224));
  EXPECT_EQ(g.CurrentBox.top(), 237);
  EXPECT_EQ(g.PowerBox.top(), 465);
  EXPECT_EQ(g.PowerBox.height(), 134);
  EXPECT_EQ(ComputeRowGeometry(224, 5).Hr, 44);
  EXPECT_EQ(ComputeRowGeometry(134, 3).Hr, 43);
}

TEST(PageLayout, TheWorkedSizesOfTheThreePhasePage) {
  const PageGeometry g = ComputePageGeometry(kWorked);
  EXPECT_EQ(g.ComprehensiveBox, QRect(491, 9, 483, 310));
  EXPECT_EQ(g.UnbalanceBox, QRect(491, 324, 483, 155));
  EXPECT_EQ(g.IntegrationBox, QRect(491, 484, 483, 116));
  EXPECT_EQ(ComputeRowGeometry(310, 8).Hr, 38);
  EXPECT_EQ(ComputeRowGeometry(155, 4).Hr, 37);
  EXPECT_EQ(ComputeRowGeometry(116, 3).Hr, 37);
  EXPECT_EQ(ThreePhaseCaptionLeft(457, 0), 65);
  EXPECT_EQ(ThreePhaseCaptionLeft(457, 1), 195);
  EXPECT_EQ(ThreePhaseCaptionLeft(457, 2), 325);
  EXPECT_EQ(ThreePhaseValueLeft(457, 2), 360);
  EXPECT_EQ(g.SamplingPanelLeft, 483 - 125);
  EXPECT_EQ(g.PhasorPanelLeft, 483 - 135);
}

// Whether a page size meets what the minimum size promises.
struct Check {
  bool positive, rowsHighEnough, columnsApart, phasorTextsInside;
};

Check Evaluate(QSize size) {
  const PageGeometry g = ComputePageGeometry(size);
  Check c{};
  const QRect all[] = {g.UpperGroup,   g.PlotPanel,      g.PlotPaintBox,
                       g.VoltageBox,   g.PowerBox,       g.ComprehensiveBox,
                       g.UnbalanceBox, g.IntegrationBox, QRect(0, 0, g.Wr, 1)};
  c.positive = std::all_of(std::begin(all), std::end(all),
                           [](const QRect& r) { return r.width() > 0 && r.height() > 0; });
  const int rows[] = {ComputeRowGeometry(g.VoltageBox.height(), 5).Hr,
                      ComputeRowGeometry(g.PowerBox.height(), 3).Hr,
                      ComputeRowGeometry(g.ComprehensiveBox.height(), 8).Hr,
                      ComputeRowGeometry(g.UnbalanceBox.height(), 4).Hr,
                      ComputeRowGeometry(g.IntegrationBox.height(), 3).Hr};
  c.rowsHighEnough = *std::min_element(std::begin(rows), std::end(rows)) >= 22;
  const int channelRoom = g.Wr / 3 - 52;
  const int threePhaseRoom = ThreePhaseCaptionLeft(g.Wr, 1) - ThreePhaseValueLeft(g.Wr, 0);
  c.columnsApart = std::min(channelRoom, threePhaseRoom) >= 88;
  // The angle text of the sixth phasor, 13 pixels high at top 180, within the plot height.
  const int H = g.PlotPaintBox.height() - 2;
  c.phasorTextsInside = 20 + 32 * 5 + 13 <= H;
  return c;
}

TEST(PageLayout, TheMinimumPageSizeIsTheSmallestThatKeepsEverythingReadable) {
  const Check atMinimum = Evaluate(kMinimumPageSize);
  EXPECT_TRUE(atMinimum.positive);
  EXPECT_TRUE(atMinimum.rowsHighEnough);
  EXPECT_TRUE(atMinimum.columnsApart);
  EXPECT_TRUE(atMinimum.phasorTextsInside);
  // One pixel less in either direction loses something.
  const Check narrower = Evaluate(kMinimumPageSize - QSize(1, 0));
  EXPECT_FALSE(narrower.columnsApart);
  const Check lower = Evaluate(kMinimumPageSize - QSize(0, 1));
  EXPECT_FALSE(lower.phasorTextsInside && lower.rowsHighEnough);
  // Every larger size keeps it all.
  for (const QSize size : {QSize(978, 605), QSize(1200, 458), QSize(932, 900), QSize(2500, 1400)}) {
    const Check c = Evaluate(size);
    EXPECT_TRUE(c.positive && c.rowsHighEnough && c.columnsApart && c.phasorTextsInside)
        << size.width() << " x " << size.height();
  }
  EXPECT_LE(kMinimumPageSize.width(), kDefaultPageSize.width());
  EXPECT_LE(kMinimumPageSize.height(), kDefaultPageSize.height());
}

TEST(PageLayout, PagesWithTheMinimumSizeKeepTheWindowFromShrinkingBelowIt) {
  QMainWindow window;
  auto* tabs = new QTabWidget;
  for (int i = 0; i < 5; ++i) {
    auto* sheet = new QWidget;
    sheet->setMinimumSize(kMinimumPageSize);
    tabs->addTab(sheet, QString::number(i));
  }
  window.setCentralWidget(tabs);
  window.show();
  window.resize(300, 200);
  QApplication::processEvents();
  EXPECT_GE(tabs->widget(0)->width(), kMinimumPageSize.width());
  EXPECT_GE(tabs->widget(0)->height(), kMinimumPageSize.height());
}

class PageLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreatePlotImages(QSize(960, 540));
    previousSleep = SetSleepFunction([](uint32_t) {});
    for (int c = 1; c <= 3; ++c) channels.push_back(std::make_unique<ChannelPage>(c));
    for (auto& page : channels) page->SetPlotSizeReference(channels[0]->WavePaintBox);
    threePhase.SetPlotSizeReference(channels[0]->WavePaintBox);
    pages = {{channels[0].get(), channels[1].get(), channels[2].get()}, &threePhase, &harmonic};
  }
  void TearDown() override { SetSleepFunction(previousSleep); }

  SleepFunction previousSleep;
  std::vector<std::unique_ptr<ChannelPage>> channels;
  ThreePhasePage threePhase;
  HarmonicReportPage harmonic;
  MainPages pages;
};

TEST_F(PageLayoutTest, TheRoutinePlacesTheControlsOfEveryPageAtTheWorkedSize) {
  LayOutPages(pages, QSize(1400, 900));
  LayOutPages(pages, kWorked);
  for (auto& page : channels) {
    EXPECT_EQ(page->SamplingGroupBox->geometry(), QRect(4, 4, 483, 296));
    EXPECT_EQ(page->HarmonicGroupBox->geometry(), QRect(4, 304, 483, 296));
    EXPECT_EQ(page->WavePaintBox->size(), QSize(467, 268));
    EXPECT_EQ(page->PowerBox.Box->geometry(), QRect(491, 465, 483, 134));
  }
  ThreePhasePage& t = threePhase;
  EXPECT_EQ(t.GroupBox13->geometry(), QRect(4, 4, 483, 296));
  EXPECT_EQ(t.GroupBox14->geometry(), QRect(4, 304, 483, 296));
  EXPECT_EQ(t.Panel21->geometry(), QRect(4, 16, 475, 276));
  EXPECT_EQ(t.Panel42->geometry(), QRect(4, 16, 475, 276));
  EXPECT_EQ(t.PaintBox7->geometry(), QRect(4, 4, 467, 268));
  EXPECT_EQ(t.PaintBox8->size(), QSize(467, 268));
  EXPECT_EQ(t.ComprehensiveBox.Box->geometry(), QRect(491, 9, 483, 310));
  EXPECT_EQ(t.UnbalanceBox.Box->geometry(), QRect(491, 324, 483, 155));
  EXPECT_EQ(t.IntegrationBox.Box->geometry(), QRect(491, 484, 483, 116));
  EXPECT_EQ(t.IntegrationBox.Strip->geometry(), QRect(0, 0, 22, 116));
  struct RowCase {
    const ThreePhaseBox* box;
    int hr;
  };
  for (const RowCase& c : {RowCase{&t.ComprehensiveBox, 38}, RowCase{&t.UnbalanceBox, 37},
                           RowCase{&t.IntegrationBox, 37}}) {
    int top = 0;
    for (const ThreePhaseRow& row : c.box->Rows) {
      EXPECT_EQ(row.Panel->geometry(), QRect(22, top, 457, c.hr));
      top += c.hr;
      EXPECT_EQ(row.Caption->pos(), QPoint(8, c.hr / 2 - 8));
      const int captionX[3] = {65, 195, 325};
      for (const ThreePhasePair& pair : row.Pairs) {
        EXPECT_EQ(pair.Caption->pos(), QPoint(captionX[pair.Column], c.hr / 2 - 8));
        EXPECT_EQ(pair.Value->pos(), QPoint(captionX[pair.Column] + 35, c.hr / 2 - 11));
      }
    }
  }
  EXPECT_EQ(harmonic.StringGrid2->columnWidth(1), 75);  // rnd(978 / 13)
  EXPECT_EQ(harmonic.StringGrid2->columnWidth(0), 32);  // 978 div 30
}

TEST_F(PageLayoutTest, AfterAResizeTheSelectionPanelsAreBackAtTheTopShownOrHidden) {
  threePhase.show();
  RollPanel* sampling = threePhase.SamplingSelection.Panel;
  RollPanel* phasor = threePhase.PhasorSelection.Panel;
  threePhase.PaintBox7Click();  // shown, slid down to 12
  ASSERT_EQ(sampling->y(), 12);
  LayOutPages(pages, QSize(1200, 800));  // Gw = 594
  EXPECT_EQ(sampling->pos(), QPoint(594 - 125, 0));
  EXPECT_EQ(phasor->pos(), QPoint(594 - 135, 0));
  EXPECT_FALSE(sampling->isHidden());
  // Rolled away from the top: above the group box, hidden; the layout brings it back.
  QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&threePhase, &move);
  EXPECT_TRUE(sampling->isHidden());
  EXPECT_EQ(sampling->y(), -12);
  LayOutPages(pages, kWorked);
  EXPECT_EQ(sampling->pos(), QPoint(483 - 125, 0));
  EXPECT_EQ(phasor->pos(), QPoint(483 - 135, 0));
  EXPECT_TRUE(sampling->isHidden());
}

TEST_F(PageLayoutTest, AResizeNeverAllocatesImagesAndLargePlotsStayInsideThem) {
  MeasurementRecord record;
  InitMeasurementRecord(record);
  record.Set.Channel[0].VoltagePeak = 300;
  record.Set.Channel[1].CurrentPeak = 5;
  const uchar* bits[] = {ScratchImage.constBits(), SamplingImage.constBits(),
                         PhasorImage.constBits(), WaveImage[0].constBits()};
  for (const QSize size : {QSize(3000, 2000), kMinimumPageSize, kWorked}) {
    LayOutPages(pages, size);
    for (auto& page : channels) page->RefreshChannelPage(record);
    threePhase.RefreshThreePhasePage(record);
    RefreshHarmonicGrid(*harmonic.StringGrid2, record.Set);
  }
  const uchar* after[] = {ScratchImage.constBits(), SamplingImage.constBits(),
                          PhasorImage.constBits(), WaveImage[0].constBits()};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(bits[i], after[i]) << i;
  EXPECT_EQ(SamplingImage.size(), QSize(960, 540));
}

}  // namespace
