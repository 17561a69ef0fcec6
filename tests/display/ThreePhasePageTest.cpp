#include "display/ThreePhasePage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "display/PlotImages.h"
#include "display/ThreePhaseHost.h"
#include "display/ThreePhasePageLayout.h"
#include "platform/Sleep.h"

namespace {

MeasurementRecord KnownReading() {
  QFile file(QStringLiteral(RXM_FIXTURES_DIR "/known-reading.qvm"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  MeasurementRecord record;
  std::memcpy(&record, bytes.constData(), sizeof record);
  return record;
}

// The main window's side, on a real tab control of five pages.
class TabHost : public ThreePhaseHost {
 public:
  TabHost() {
    for (const char* name : {"Channel 1", "Channel 2", "Channel 3", "Three-phase", "Harmonic"}) {
      tabs.addTab(new QWidget, name);
    }
  }
  void SetStatusText(int panel, const QString& text) override { status[panel] = text; }
  bool IsPageVisible(int page) const override { return tabs.isTabVisible(page); }
  void SetPageVisible(int page, bool visible) override { tabs.setTabVisible(page, visible); }
  void SelectPage(int page) override {
    selected.push_back(page);
    tabs.setCurrentIndex(page);
  }
  std::set<int> VisiblePages() const {
    std::set<int> pages;
    for (int i = 0; i < tabs.count(); ++i) {
      if (tabs.isTabVisible(i)) pages.insert(i);
    }
    return pages;
  }

  QTabWidget tabs;
  std::map<int, QString> status;
  std::vector<int> selected;
};

class ThreePhasePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreatePlotImages(QSize(960, 540));
    WaveBackground = QColor(0, 0, 0);
    ScaleColor = QColor(0, 128, 128);
    savedRecord = MeasurementData;
    InitMeasurementRecord(MeasurementData);
    previousSleep = SetSleepFunction([this](uint32_t ms) { sleeps.push_back(ms); });
    page = std::make_unique<ThreePhasePage>();
    page->SetHost(&host);
  }
  void TearDown() override {
    SetSleepFunction(previousSleep);
    MeasurementData = savedRecord;
  }

  QString Text(const char* name) const {
    const auto* label = page->findChild<QLabel*>(name);
    return label ? label->text() : QString("<no label %1>").arg(name);
  }
  bool Enabled(const char* name) const { return page->findChild<QLabel*>(name)->isEnabled(); }

  // Refreshes from the data model with channel 1 wired as given.
  void RefreshWith(uint8_t wiring) {
    MeasurementData.Set.Channel[0].Wiring = wiring;
    page->RefreshThreePhasePage(MeasurementData);
  }

  static std::set<QRgb> Colours(const QImage& image, const QRect& rect) {
    std::set<QRgb> colours;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      for (int x = rect.left(); x <= rect.right(); ++x) colours.insert(image.pixel(x, y));
    }
    return colours;
  }
  static bool Has(const std::set<QRgb>& colours, int signal) {
    return colours.count(kPhaseSignalColours[signal].rgb()) != 0;
  }

  MeasurementRecord savedRecord;
  SleepFunction previousSleep;
  std::vector<uint32_t> sleeps;
  TabHost host;
  std::unique_ptr<ThreePhasePage> page;
};

const char* const kUnbalanceLabels[] = {"Label97",  "Label100", "Label101", "Label103", "Label106",
                                        "Label107", "Label109", "Label112", "Label163", "Label166"};

TEST_F(ThreePhasePageTest, EachWiringShowsItsPagesAndStatusText) {
  struct WiringCase {
    uint8_t wiring;
    std::set<int> visible;
    const char* status;  // nullptr: panel 2 is left alone
  };
  const WiringCase cases[] = {
      {0, {0, 1, 2, 4}, "Wiring: Single-Phase"},
      {1, {0, 1, 3, 4}, "Wiring: Three-phase Three-wire"},
      {2, {0, 1, 2, 3, 4}, "Wiring: Three-phase Three-wire(3VT3CT)"},
      {3, {0, 1, 2, 3, 4}, "Wiring: Three-phase Four-wire"},
      {5, {0, 1, 2, 3, 4}, nullptr},
      {255, {0, 1, 2, 3, 4}, nullptr},
  };
  for (const WiringCase& c : cases) {
    TabHost fresh;
    page->SetHost(&fresh);
    RefreshWith(c.wiring);
    EXPECT_EQ(fresh.VisiblePages(), c.visible) << int{c.wiring};
    if (c.status) {
      EXPECT_EQ(fresh.status[2].toStdString(), c.status);
    } else {
      EXPECT_EQ(fresh.status.count(2), 0u) << int{c.wiring};
    }
    EXPECT_EQ(fresh.status[1], "Bandwidth: narrowband");
    EXPECT_TRUE(fresh.tabs.isTabVisible(fresh.tabs.currentIndex())) << int{c.wiring};
    page->SetHost(&host);
  }
}

TEST_F(ThreePhasePageTest, HidingAPageSelectsATabFirstOnlyWhileThatPageIsShown) {
  host.tabs.setCurrentIndex(3);
  RefreshWith(0);
  EXPECT_EQ(host.selected, std::vector<int>{0});
  EXPECT_EQ(host.tabs.currentIndex(), 0);
  RefreshWith(0);  // page 3 already hidden: no second selection
  EXPECT_EQ(host.selected, std::vector<int>{0});

  RefreshWith(1);  // page 2 is shown: its tab is selected, then it is hidden
  EXPECT_EQ(host.selected, (std::vector<int>{0, 2}));
  EXPECT_FALSE(host.tabs.isTabVisible(2));
  EXPECT_NE(host.tabs.currentIndex(), 2);
  RefreshWith(1);
  EXPECT_EQ(host.selected, (std::vector<int>{0, 2}));
}

TEST_F(ThreePhasePageTest, SwitchingWiringBringsHiddenPagesBack) {
  RefreshWith(0);
  EXPECT_FALSE(host.tabs.isTabVisible(3));
  RefreshWith(3);
  EXPECT_TRUE(host.tabs.isTabVisible(3));
  RefreshWith(1);
  EXPECT_FALSE(host.tabs.isTabVisible(2));
  RefreshWith(0);
  EXPECT_EQ(host.VisiblePages(), (std::set<int>{0, 1, 2, 4}));
  RefreshWith(4);  // unknown: nothing changes
  EXPECT_EQ(host.VisiblePages(), (std::set<int>{0, 1, 2, 4}));
  EXPECT_EQ(host.status[2], "Wiring: Single-Phase");
  RefreshWith(2);
  EXPECT_EQ(host.VisiblePages(), (std::set<int>{0, 1, 2, 3, 4}));
}

TEST_F(ThreePhasePageTest, BandwidthTextFollowsChannelOneOnly) {
  struct Case {
    uint8_t bandwidth, otherChannels;
    const char* text;
  };
  for (const Case& c : {Case{0, 1, "Bandwidth: narrowband"}, Case{1, 0, "Bandwidth: Broadband"},
                        Case{200, 0, "Bandwidth: Broadband"}}) {
    MeasurementData.Set.Channel[0].Bandwidth = c.bandwidth;
    MeasurementData.Set.Channel[1].Bandwidth = c.otherChannels;
    MeasurementData.Set.Channel[2].Bandwidth = c.otherChannels;
    RefreshWith(7);  // even with an unknown wiring
    EXPECT_EQ(host.status[1].toStdString(), c.text);
  }
}

void FillValues(MeasurementRecord& r) {
  r.Set.Channel[0].VoltageTrms = 230.4567f;
  r.Set.Channel[1].VoltagePhase = -123.45f;
  r.Set.Channel[0].CurrentPhase = 45.25f;
  r.Set.Channel[2].CurrentTrms = 5.125f;
  r.Set.Channel[0].PowerFactor = 0.866f;
  r.Set.Channel[1].ActivePower = 2500000.0f;
  r.Set.ThreePhase.LineVoltageAB = 400.123f;
  r.Set.ThreePhase.LineVoltageCA = 0.0f;
  r.Set.ThreePhase.TotalReactivePower = 1234.5f;
  r.Set.ThreePhase.VoltageUnbalanceVuf = 0.0234f;
  r.Set.ThreePhase.CurrentUnbalancePcur = 0.5f;
  r.Set.ThreePhase.CurrentZeroSeq = 1.5f;
  r.Set.ThreePhase.DemandApparentPower = 0.0f;
  r.Set.ThreePhase.EnergyWp = 12345.678;
  r.Set.ThreePhase.EnergyKvarh = -2.5;
}

TEST_F(ThreePhasePageTest, FourWireShowsEveryValueWithLineVoltagesInVWithoutSpace) {
  FillValues(MeasurementData);
  RefreshWith(3);
  struct LabelCase {
    const char* label;
    const char* caption;
  };
  const LabelCase cases[] = {
      {"Label68", "230.45 V"}, {"Label132", "-123. deg"},  {"Label122", "45.2 deg"},
      {"Label83", "5.125 A"},  {"Label91", "0.866 "},      {"Label88", "2500.0 K W"},
      {"Label115", "400.12V"}, {"Label119", "0.0V"},       {"Label60", "1.235 K VAR"},
      {"Label109", "2.3 %"},   {"Label166", "50.0 %"},     {"Label107", "1.5 A"},
      {"Label178", "0.0 VA"},  {"Label181", "12345.678 "}, {"Label190", "-2.5 "},
      {"Label187", "0.0 "},    {"Label56", "0.0 W"},       {"Label59", "0.0 VA"},
      {"Label175", "0.0 W"},   {"Label179", "0.0 VAR"},
  };
  for (const LabelCase& c : cases) EXPECT_EQ(Text(c.label).toStdString(), c.caption) << c.label;
  for (const char* name : kUnbalanceLabels) EXPECT_TRUE(Enabled(name)) << name;
}

TEST_F(ThreePhasePageTest, ThreeWireShowsNsfInTheDisabledUnbalanceLabels) {
  FillValues(MeasurementData);
  for (uint8_t wiring : {1, 2}) {
    RefreshWith(wiring);
    for (const char* name : kUnbalanceLabels) {
      EXPECT_EQ(Text(name), "NSF") << name;
      EXPECT_FALSE(Enabled(name)) << name;
    }
    const QLabel* vuf = page->findChild<QLabel*>("Label109");
    EXPECT_EQ(vuf->palette().color(QPalette::Disabled, QPalette::WindowText),
              QColor(128, 128, 128));
    EXPECT_EQ(vuf->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(Text("Label115"), "400.12 V");
    EXPECT_EQ(Text("Label68"), "230.45 V");
    EXPECT_EQ(Text("Label181"), "12345.678 ");
  }
  RefreshWith(3);  // back to four-wire: values and enabled again
  EXPECT_EQ(Text("Label109"), "2.3 %");
  EXPECT_TRUE(Enabled("Label109"));
}

TEST_F(ThreePhasePageTest, SinglePhaseAndUnknownWiringsLeaveTheLabelsAsTheyWere) {
  FillValues(MeasurementData);
  RefreshWith(3);
  MeasurementData.Set.Channel[0].VoltageTrms = 1.0f;
  MeasurementData.Set.ThreePhase.VoltageUnbalanceVuf = 0.5f;
  for (uint8_t wiring : {0, 4, 9}) {
    RefreshWith(wiring);
    EXPECT_EQ(Text("Label68"), "230.45 V") << int{wiring};
    EXPECT_EQ(Text("Label109"), "2.3 %") << int{wiring};
  }
}

TEST_F(ThreePhasePageTest, WiringRuleHidesAndUnchecksUcAndIcInBothPanels) {
  SignalPanel* panels[2] = {&page->SamplingSelection, &page->PhasorSelection};
  for (SignalPanel* p : panels) p->CheckBoxes[kUc]->setChecked(true);
  RefreshWith(1);
  for (SignalPanel* p : panels) {
    for (int s : {kUc, kIc}) {
      EXPECT_TRUE(p->CheckBoxes[s]->isHidden());
      EXPECT_TRUE(p->Labels[s]->isHidden());
      EXPECT_FALSE(p->CheckBoxes[s]->isChecked());
    }
    EXPECT_FALSE(p->CheckBoxes[kUb]->isHidden());
  }
  EXPECT_TRUE(page->findChild<QLabel*>("Label74")->isHidden());
  EXPECT_TRUE(page->findChild<QLabel*>("Label172")->isHidden());
  RefreshWith(5);  // unknown: still hidden
  EXPECT_TRUE(page->SamplingSelection.CheckBoxes[kIc]->isHidden());
  for (uint8_t wiring : {0, 2, 3}) {
    RefreshWith(1);
    RefreshWith(wiring);
    for (SignalPanel* p : panels) {
      EXPECT_FALSE(p->CheckBoxes[kUc]->isHidden()) << int{wiring};
      EXPECT_FALSE(p->Labels[kIc]->isHidden()) << int{wiring};
      EXPECT_FALSE(p->CheckBoxes[kUc]->isChecked()) << "shown again, not checked";
    }
  }
}

TEST_F(ThreePhasePageTest, HiddenUcAndIcAreNeverDrawnEvenWhenTicked) {
  MeasurementData = KnownReading();
  page->SamplingSelection.CheckBoxes[kIc]->setChecked(true);
  RefreshWith(1);
  RefreshWith(6);  // the wiring rule does nothing now; tick them while hidden
  for (SignalPanel* p : {&page->SamplingSelection, &page->PhasorSelection}) {
    p->CheckBoxes[kUc]->setChecked(true);
    p->CheckBoxes[kIc]->setChecked(true);
  }
  RefreshWith(6);
  const QRect plot = PlotRect;
  for (const QImage* image : {&SamplingImage, &PhasorImage}) {
    const auto colours = Colours(*image, plot);
    EXPECT_FALSE(Has(colours, kUc));
    EXPECT_FALSE(Has(colours, kIc));
    EXPECT_TRUE(Has(colours, kUb));
  }
  RefreshWith(3);  // shown again, and still ticked
  for (const QImage* image : {&SamplingImage, &PhasorImage}) {
    const auto colours = Colours(*image, plot);
    EXPECT_TRUE(Has(colours, kUc));
    EXPECT_TRUE(Has(colours, kIc));
  }
}

TEST_F(ThreePhasePageTest, TheSamplingPlotDrawsOnlyTickedTracesAndTheButtonsTickByKind) {
  MeasurementData = KnownReading();
  RefreshWith(3);
  auto shownIn = [&](const QImage& image) {
    const auto colours = Colours(image, PlotRect);
    std::vector<bool> shown;
    for (int s = 0; s < kPhaseSignalCount; ++s) shown.push_back(Has(colours, s));
    return shown;
  };
  // At start: voltages in the sampling plot, all six in the phasor diagram.
  EXPECT_EQ(shownIn(SamplingImage), (std::vector<bool>{true, true, true, false, false, false}));
  EXPECT_EQ(shownIn(PhasorImage), std::vector<bool>(6, true));

  page->SamplingSelection.CurrentButton->click();  // "I" refreshes by itself
  EXPECT_EQ(shownIn(SamplingImage), (std::vector<bool>{false, false, false, true, true, true}));
  page->SamplingSelection.BothButton->click();
  EXPECT_EQ(shownIn(SamplingImage), std::vector<bool>(6, true));
  page->PhasorSelection.VoltageButton->click();
  EXPECT_EQ(shownIn(PhasorImage), (std::vector<bool>{true, true, true, false, false, false}));
  page->PhasorSelection.CheckBoxes[kUb]->click();  // a click on a check box refreshes too
  EXPECT_EQ(shownIn(PhasorImage), (std::vector<bool>{true, false, true, false, false, false}));
  EXPECT_EQ(page->PhasorSelection.VoltageButton->text(), "U");
  EXPECT_EQ(page->PhasorSelection.CurrentButton->text(), "I");
  EXPECT_EQ(page->PhasorSelection.BothButton->text(), "UI");
}

TEST_F(ThreePhasePageTest, RefreshDrawsAtTheSizeOfPic1IntoTheImagesItWasGiven) {
  QWidget pic1;
  pic1.resize(301, 201);
  page->SetPlotSizeReference(&pic1);
  const uchar* sampling = SamplingImage.constBits();
  const uchar* phasor = PhasorImage.constBits();
  RefreshWith(3);
  EXPECT_EQ(PlotRect, QRect(0, 0, 301, 201));
  // The phasor diagram of a 299 x 199 plot: the outer circle's right edge at cx + R.
  const int cx = 299 / 2, cy = 199 / 2, R = cy - 5;
  EXPECT_EQ(PhasorImage.pixelColor(cx + R, cy - 6), ScaleColor);
  EXPECT_EQ(PhasorImage.pixelColor(cx + R + 1, cy - 6), WaveBackground);
  EXPECT_EQ(SamplingImage.constBits(), sampling);
  EXPECT_EQ(PhasorImage.constBits(), phasor);
}

TEST_F(ThreePhasePageTest, AClickOnAPlotShowsItsPanelSlidingDownAndRollsItAfterwards) {
  page->show();
  RollPanel* panel = page->SamplingSelection.Panel;
  EXPECT_TRUE(panel->isHidden());
  EXPECT_FALSE(panel->Expanded());
  EXPECT_EQ(panel->pos(), QPoint(483 - 125, 0));
  page->PaintBox7Click();
  EXPECT_FALSE(panel->isHidden());
  EXPECT_TRUE(panel->Expanded());
  EXPECT_EQ(panel->size(), QSize(100, 169));
  EXPECT_EQ(panel->y(), 12);
  page->PaintBox7Click();  // shown already: only rolls up
  EXPECT_FALSE(panel->Expanded());
  EXPECT_EQ(panel->height(), RollPanel::kTitleHeight);
  EXPECT_EQ(panel->y(), 12);
  EXPECT_TRUE(page->PhasorSelection.Panel->isHidden());
  page->PaintBox8Click();
  EXPECT_EQ(page->PhasorSelection.Panel->size(), QSize(116, 169));
  EXPECT_TRUE(sleeps.empty());  // sliding down does not pause
}

TEST_F(ThreePhasePageTest, AMouseMoveOverBackgroundFrameOrStripSlidesThePanelsUpAndHidesThem) {
  page->show();
  auto move = [](QWidget* widget) {
    QMouseEvent event(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  };
  QWidget* targets[] = {page.get(), page->GroupBox14, page->ComprehensiveBox.Strip,
                        page->UnbalanceBox.Strip, page->IntegrationBox.Strip};
  for (QWidget* target : targets) {
    page->PaintBox7Click();
    page->PaintBox8Click();
    sleeps.clear();
    move(page->PaintBox7);  // moves over the plots do nothing
    move(page->PaintBox8);
    EXPECT_FALSE(page->SamplingSelection.Panel->isHidden());
    move(target);
    for (SignalPanel* p : {&page->SamplingSelection, &page->PhasorSelection}) {
      EXPECT_TRUE(p->Panel->isHidden()) << target->objectName().toStdString();
      EXPECT_EQ(p->Panel->y(), 0);
    }
    // Twelve steps each; only the phasor panel pauses, 3 ms a step.
    EXPECT_EQ(sleeps, std::vector<uint32_t>(12, 3));
  }
  sleeps.clear();
  move(page.get());  // nothing shown: nothing slides
  EXPECT_TRUE(sleeps.empty());
}

TEST_F(ThreePhasePageTest, ARepaintOfAPlotAppliesTheWiringRuleToItsPanel) {
  page->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
  MeasurementData.Set.Channel[0].Wiring = 1;  // no refresh
  page->PaintBox7->repaint();
  EXPECT_TRUE(page->SamplingSelection.CheckBoxes[kUc]->isHidden());
  EXPECT_FALSE(page->PhasorSelection.CheckBoxes[kUc]->isHidden());
  page->PaintBox8->repaint();
  EXPECT_TRUE(page->PhasorSelection.CheckBoxes[kIc]->isHidden());
  MeasurementData.Set.Channel[0].Wiring = 3;
  page->PaintBox8Click();
  EXPECT_FALSE(page->PhasorSelection.CheckBoxes[kIc]->isHidden());
}

TEST_F(ThreePhasePageTest, ArbitraryBytesInTheRecordNeitherCrashNorDrawOutsideTheImages) {
  // Random records and records of one repeated byte: NaN, infinities, huge and negative
  // values, every wiring, bandwidth and trigger byte.
  std::vector<MeasurementRecord> records;
  for (uint8_t fill : {0x00, 0x7F, 0x80, 0xFF, 0x01}) {
    MeasurementRecord r;
    std::memset(&r, fill, sizeof r);
    records.push_back(r);
  }
  uint32_t seed = 12345;
  for (int i = 0; i < 8; ++i) {
    MeasurementRecord r;
    auto* bytes = reinterpret_cast<uint8_t*>(&r);
    for (size_t k = 0; k < sizeof r; ++k) {
      seed = seed * 1103515245u + 12345u;
      bytes[k] = static_cast<uint8_t>(seed >> 16);
    }
    records.push_back(r);
  }
  const QSize imageSize = SamplingImage.size();
  for (const MeasurementRecord& r : records) {
    MeasurementData = r;
    page->RefreshThreePhasePage(MeasurementData);
    page->SamplingSelection.BothButton->click();
    page->PaintBox8Click();
  }
  EXPECT_EQ(SamplingImage.size(), imageSize);
  EXPECT_EQ(PhasorImage.size(), imageSize);
}

TEST_F(ThreePhasePageTest, ControlsCarryTheirNamesCaptionsAndColours) {
  EXPECT_EQ(page->GroupBox13->title(), " Sampling ");
  EXPECT_EQ(page->GroupBox14->title(), " Phasor diagram  ");
  EXPECT_EQ(page->SamplingSelection.Panel->objectName(), "SeSkinPanel1");
  EXPECT_EQ(page->SamplingSelection.Panel->Caption(), QString::fromUtf8("显示通道选择 "));
  EXPECT_EQ(page->PhasorSelection.Panel->objectName(), "SeSkinPanel2");
  EXPECT_EQ(page->PhasorSelection.Panel->Caption(), "Signal selection");
  const char* names[] = {"Ua", "Ub", "Uc", "Ia", "Ib", "Ic"};
  const QColor backs[] = {QColor(255, 255, 0), QColor(0, 128, 0), QColor(255, 0, 0),
                          QColor(0, 255, 255), QColor(0, 0, 255), QColor(0, 255, 0)};
  for (int s = 0; s < kPhaseSignalCount; ++s) {
    for (int p = 0; p < 2; ++p) {
      const SignalPanel& panel = p == 0 ? page->SamplingSelection : page->PhasorSelection;
      EXPECT_EQ(panel.CheckBoxes[s]->objectName(), QString("SeSkinCheckBox%1").arg(1 + 6 * p + s));
      EXPECT_EQ(panel.Labels[s]->text(), names[s]);
      EXPECT_EQ(panel.Labels[s]->palette().color(QPalette::Window), backs[s]);
    }
  }
  EXPECT_EQ(page->SamplingSelection.Labels[kUc]->objectName(), "Label74");
  EXPECT_EQ(page->SamplingSelection.Labels[kIc]->objectName(), "Label77");
  EXPECT_EQ(page->PhasorSelection.Labels[kUc]->objectName(), "Label169");
  EXPECT_EQ(page->PhasorSelection.Labels[kIc]->objectName(), "Label172");
  EXPECT_EQ(page->SamplingSelection.BothButton->objectName(), "SeSkinButton3");
  EXPECT_EQ(page->PhasorSelection.VoltageButton->objectName(), "SeSkinButton5");

  const ThreePhaseBox* boxes[] = {&page->ComprehensiveBox, &page->UnbalanceBox,
                                  &page->IntegrationBox};
  const char* boxNames[] = {"SeSkinScrollBox1", "SeSkinScrollBox2", "SeSkinScrollBox4"};
  const char* strips[] = {"PaintBox9", "PaintBox10", "PaintBox12"};
  const char* titles[] = {"Comprehensive", "Unbalance", "Integration"};
  const size_t rows[] = {8, 4, 3};
  for (int b = 0; b < 3; ++b) {
    EXPECT_EQ(boxes[b]->Box->objectName(), boxNames[b]);
    EXPECT_EQ(boxes[b]->Strip->objectName(), strips[b]);
    EXPECT_EQ(boxes[b]->Strip->Title(), titles[b]);
    EXPECT_EQ(boxes[b]->Strip->FillColour(), QColor(0, 128, 128));
    EXPECT_EQ(boxes[b]->Strip->TextColour(), QColor(Qt::white));
    EXPECT_EQ(boxes[b]->Rows.size(), rows[b]);
  }
  EXPECT_EQ(page->ComprehensiveBox.Rows[4].Caption->text(), "VoltagePhase");
  EXPECT_EQ(page->ComprehensiveBox.Rows[4].Pairs[1].Caption->text(), QString::fromUtf8("ΦU2"));
  EXPECT_EQ(page->IntegrationBox.Rows[2].Caption->text(), "VAH  VARH");
  EXPECT_EQ(page->IntegrationBox.Rows[2].Pairs.size(), 2u);
  EXPECT_EQ(page->ComprehensiveBox.Rows[7].Panel->objectName(), "Panel50");
  EXPECT_EQ(page->UnbalanceBox.Rows[3].Panel->objectName(), "Panel58");
  // Every value label of the page, by name.
  const char* labels[] = {"Label68",  "Label71",  "Label72",  "Label79",  "Label82",  "Label83",
                          "Label85",  "Label88",  "Label89",  "Label91",  "Label94",  "Label95",
                          "Label129", "Label132", "Label133", "Label122", "Label125", "Label126",
                          "Label115", "Label118", "Label119", "Label56",  "Label59",  "Label60",
                          "Label175", "Label178", "Label179", "Label181", "Label184", "Label185",
                          "Label187", "Label190"};
  for (const char* name : labels) EXPECT_NE(page->findChild<QLabel*>(name), nullptr) << name;
  for (const char* name : kUnbalanceLabels) EXPECT_NE(page->findChild<QLabel*>(name), nullptr);
}

}  // namespace
