#include "display/ThreePhasePage.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <cstddef>

#include "display/PageGeometry.h"
#include "display/PageValueTable.h"
#include "display/PageWidgets.h"
#include "display/PhasorDiagram.h"
#include "display/PlotDrawing.h"
#include "display/PlotImages.h"
#include "display/SamplingPlot.h"
#include "display/ThreePhaseHost.h"
#include "display/ThreePhasePageLayout.h"
#include "platform/Sleep.h"

namespace {

// A caption ends 4 pixels before its value, which stands at a fixed distance from it.
const int kCaptionRoom = ThreePhaseValueLeft(0, 0) - ThreePhaseCaptionLeft(0, 0) - 4;

struct BoxNames {
  const char* box;
  const char* strip;
  const char* title;
  std::vector<const char*> rows;
  std::vector<const char*> captions;
};

const BoxNames kBoxNames[3] = {
    {"SeSkinScrollBox1",
     "PaintBox9",
     "Comprehensive",
     {"Panel43", "Panel44", "Panel45", "Panel46", "Panel53", "Panel52", "Panel51", "Panel50"},
     {"Voltage", "Current", "Power", "PF", "VoltagePhase", "CurrentPhase", "LineVoltage", "Total"}},
    {"SeSkinScrollBox2",
     "PaintBox10",
     "Unbalance",
     {"Panel47", "Panel48", "Panel49", "Panel58"},
     {"Sequence", "Sequence", "VUF", "PVUR"}},
    {"SeSkinScrollBox4",
     "PaintBox12",
     "Integration",
     {"Panel60", "Panel61", "Panel62"},
     {"Demand", "Energy", "VAH  VARH"}},
};

const QColor kStripTeal(0, 128, 128);
const QColor kMediumGrey(160, 160, 164);

// Label colours of the six signals: background and text.
const QColor kLabelBack[kPhaseSignalCount] = {QColor(255, 255, 0), QColor(0, 128, 0),
                                              QColor(255, 0, 0),   QColor(0, 255, 255),
                                              QColor(0, 0, 255),   QColor(0, 255, 0)};
const QColor kLabelText[kPhaseSignalCount] = {kMediumGrey, Qt::white, Qt::white,
                                              kMediumGrey, Qt::white, kMediumGrey};
const char* const kSignalNames[kPhaseSignalCount] = {"Ua", "Ub", "Uc", "Ia", "Ib", "Ic"};

constexpr int kSlideSteps = 12;            // pixels a panel slides, one per step
constexpr uint32_t kPhasorSlidePause = 3;  // ms per step when the phasor panel slides up

}  // namespace

void NotifyingPlotBox::paintEvent(QPaintEvent* event) {
  PlotBox::paintEvent(event);
  if (Painted) Painted();
}

SignalSelection SignalPanel::Shown() const {
  SignalSelection shown{};
  for (int s = 0; s < kPhaseSignalCount; ++s) {
    shown[s] = CheckBoxes[s]->isChecked() && !CheckBoxes[s]->isHidden();
  }
  return shown;
}

ThreePhasePage::ThreePhasePage(QWidget* parent) : QWidget(parent) {
  setObjectName("ThreePhasePage");
  setFont(PageFont(11));
  BuildPlots();
  BuildValueBoxes();
  // Mouse moves over the background, the phasor frame and the strips roll the panels away.
  for (QWidget* w : std::initializer_list<QWidget*>{this, GroupBox14, ComprehensiveBox.Strip,
                                                    UnbalanceBox.Strip, IntegrationBox.Strip}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
  resize(kDefaultPageSize);
  PlaceThreePhasePage(*this, kDefaultPageSize);
}

void ThreePhasePage::BuildPlots() {
  GroupBox13 = new QGroupBox(" Sampling ", this);
  GroupBox13->setObjectName("GroupBox13");
  Panel21 = PlotPanel(GroupBox13, "Panel21");
  PaintBox7 = new NotifyingPlotBox(Panel21);
  PaintBox7->setObjectName("PaintBox7");
  PaintBox7->SetImage(&SamplingImage);

  GroupBox14 = new QGroupBox(" Phasor diagram  ", this);
  GroupBox14->setObjectName("GroupBox14");
  Panel42 = PlotPanel(GroupBox14, "Panel42");
  PaintBox8 = new NotifyingPlotBox(Panel42);
  PaintBox8->setObjectName("PaintBox8");
  PaintBox8->SetImage(&PhasorImage);

  BuildSignalPanel(SamplingSelection, GroupBox13, "SeSkinPanel1",
                   QString::fromUtf8("显示通道选择 "), 100, 1, "Label74", "Label77", 1);
  BuildSignalPanel(PhasorSelection, GroupBox14, "SeSkinPanel2", "Signal selection", 116, 7,
                   "Label169", "Label172", 5);
  // At start the sampling plot shows the voltages only, the phasor diagram all six.
  for (int s = 0; s < kPhaseSignalCount; ++s) {
    SamplingSelection.CheckBoxes[s]->setChecked(!IsCurrentSignal(s));
    PhasorSelection.CheckBoxes[s]->setChecked(true);
  }

  connect(PaintBox7, &PlotBox::Clicked, this, [this] { PaintBox7Click(); });
  connect(PaintBox8, &PlotBox::Clicked, this, [this] { PaintBox8Click(); });
  PaintBox7->Painted = [this] {
    ApplyWiringRule(SamplingSelection, MeasurementData.Set.Channel[0].Wiring);
  };
  PaintBox8->Painted = [this] {
    ApplyWiringRule(PhasorSelection, MeasurementData.Set.Channel[0].Wiring);
  };
}

void ThreePhasePage::BuildSignalPanel(SignalPanel& sp, QGroupBox* group, const char* name,
                                      const QString& caption, int width, int firstCheckBox,
                                      const char* ucLabel, const char* icLabel, int firstButton) {
  sp.Panel = new RollPanel(caption, width, 169, group);
  sp.Panel->setObjectName(name);
  for (int s = 0; s < kPhaseSignalCount; ++s) {
    const int y = RollPanel::kTitleHeight + 6 + 20 * s;
    auto* box = new QCheckBox(sp.Panel);
    box->setObjectName(QString("SeSkinCheckBox%1").arg(firstCheckBox + s));
    box->setGeometry(8, y, 18, 16);
    connect(box, &QCheckBox::clicked, this, [this] { RefreshThreePhasePage(MeasurementData); });
    auto* label = new QLabel(kSignalNames[s], sp.Panel);
    label->setObjectName(s == kUc   ? QString(ucLabel)
                         : s == kIc ? QString(icLabel)
                                    : QString("%1Label%2").arg(kSignalNames[s]).arg(name));
    label->setAlignment(Qt::AlignCenter);
    SetColours(label, kLabelBack[s], kLabelText[s]);
    label->setGeometry(30, y, 40, 16);
    sp.CheckBoxes[s] = box;
    sp.Labels[s] = label;
  }
  const int buttonTop = RollPanel::kTitleHeight + 6 + 20 * kPhaseSignalCount + 4;
  const int buttonWidth = (width - 16) / 3;
  auto button = [&](const char* text, int index) {
    auto* b = new QPushButton(text, sp.Panel);
    b->setObjectName(QString("SeSkinButton%1").arg(firstButton + index));
    b->setGeometry(5 + index * (buttonWidth + 3), buttonTop, buttonWidth, 18);
    return b;
  };
  sp.VoltageButton = button("U", 0);
  sp.CurrentButton = button("I", 1);
  sp.BothButton = button("UI", 2);
  SignalPanel* self = &sp;
  connect(sp.VoltageButton, &QPushButton::clicked, this,
          [this, self] { SelectSignals(*self, true, false); });
  connect(sp.CurrentButton, &QPushButton::clicked, this,
          [this, self] { SelectSignals(*self, false, true); });
  connect(sp.BothButton, &QPushButton::clicked, this,
          [this, self] { SelectSignals(*self, true, true); });
  sp.Panel->hide();
  sp.Panel->raise();
}

void ThreePhasePage::BuildValueBoxes() {
  ThreePhaseBox* boxes[3] = {&ComprehensiveBox, &UnbalanceBox, &IntegrationBox};
  const QFont captionFont = PageFont(11);
  const QFont valueFont = PageFont(16, true);
  for (int b = 0; b < 3; ++b) {
    const BoxNames& names = kBoxNames[b];
    ThreePhaseBox& box = *boxes[b];
    box.Box = ValueBoxFrame(this, names.box);
    box.Strip = new SideStrip(names.title, kStripTeal, Qt::white, box.Box);
    box.Strip->setObjectName(names.strip);
    for (size_t r = 0; r < names.rows.size(); ++r) {
      ThreePhaseRow row;
      row.Panel = ValueRowPanel(box.Box, names.rows[r], static_cast<int>(r), palette());
      row.Caption = CaptionLabel(names.captions[r], row.Panel, captionFont);
      box.Rows.push_back(row);
    }
  }

  const QSize valueSize = ValueLabelSize(valueFont);
  valueLabels_.reserve(ThreePhaseValueFields().size());
  for (const ThreePhaseValueField& field : ThreePhaseValueFields()) {
    ThreePhaseRow& row = boxes[field.box]->Rows[field.row];
    ThreePhasePair pair;
    pair.Column = field.column;
    pair.Caption =
        CaptionLabel(QString::fromUtf8(field.caption), row.Panel, captionFont, kCaptionRoom);
    pair.Value = ValueLabel(row.Panel, field.label, valueFont, valueSize);
    // A disabled label ("NSF" in three-wire mode) is greyed out.
    SetDisabledTextColour(pair.Value, kCaptionGrey);
    row.Pairs.push_back(pair);
    valueLabels_.push_back(pair.Value);
  }
}

void ThreePhasePage::RefreshThreePhasePage(const MeasurementRecord& record) {
  const ChannelBlock& channel1 = record.Set.Channel[0];
  const uint8_t wiring = channel1.Wiring;
  if (host_) {
    host_->SetStatusText(
        1, channel1.Bandwidth == 0 ? "Bandwidth: narrowband" : "Bandwidth: Broadband");
  }
  // Pages 0 to 3: Channel 1, 2, 3 and this page. Hidden pages are left only after the
  // pages to stay are shown, so that the tab control never runs out of pages to select.
  auto pages = [this](std::initializer_list<int> shown, int hidden, const char* text) {
    if (!host_) return;
    for (int page : shown) host_->SetPageVisible(page, true);
    if (hidden >= 0) host_->SetPageVisible(hidden, false);
    host_->SetStatusText(2, text);
  };
  switch (wiring) {
    case kWiringSinglePhase:
      if (host_ && host_->IsPageVisible(3)) host_->SelectPage(0);
      pages({0, 1, 2}, 3, "Wiring: Single-Phase");
      break;
    case kWiringThreeWire:
      if (host_ && host_->IsPageVisible(2)) host_->SelectPage(2);
      pages({0, 1, 3}, 2, "Wiring: Three-phase Three-wire");
      ShowValues(record, wiring);
      break;
    case kWiringThreeWire3VT3CT:
      pages({0, 1, 2, 3}, -1, "Wiring: Three-phase Three-wire(3VT3CT)");
      ShowValues(record, wiring);
      break;
    case kWiringFourWire:
      pages({0, 1, 2, 3}, -1, "Wiring: Three-phase Four-wire");
      ShowValues(record, wiring);
      break;
    default:  // an unknown wiring changes nothing
      break;
  }
  // The check boxes follow the wiring before anything is drawn, so that a signal the wiring
  // does not have is never drawn, not even once before the next repaint.
  ApplyWiringRule(SamplingSelection, wiring);
  ApplyWiringRule(PhasorSelection, wiring);

  if (!PlotImagesCreated()) CreatePlotImages();
  const QWidget* reference = sizeReference_ ? sizeReference_ : PaintBox7;
  PlotRect = QRect(0, 0, reference->width(), reference->height());
  const int H = reference->height() - 2;
  const int W = reference->width() - 2;
  DrawSamplingPlot(ScratchImage, PlotRect, H, W, ScaleColor, WaveBackground, record.Set,
                   SamplingSelection.Shown());
  CopyPlotRect(ScratchImage, SamplingImage);
  PaintBox7->update();
  DrawPhasorDiagram(ScratchImage, PlotRect, H, W, ScaleColor, WaveBackground, record.Set,
                    PhasorSelection.Shown());
  CopyPlotRect(ScratchImage, PhasorImage);
  PaintBox8->update();
}

void ThreePhasePage::ShowValues(const MeasurementRecord& record, uint8_t wiring) {
  const auto fields = ThreePhaseValueFields();
  for (size_t i = 0; i < fields.size(); ++i) {
    valueLabels_[i]->setEnabled(ThreePhaseValueAvailable(fields[i], wiring));
    valueLabels_[i]->setText(ThreePhaseValueText(fields[i], record.Set, wiring));
  }
}

void ThreePhasePage::ApplyWiringRule(SignalPanel& panel, uint8_t wiring) {
  if (wiring > kWiringFourWire) return;
  const bool present = wiring != kWiringThreeWire;
  for (int s : {kUc, kIc}) {
    panel.CheckBoxes[s]->setVisible(present);
    panel.Labels[s]->setVisible(present);
    if (!present) panel.CheckBoxes[s]->setChecked(false);
  }
}

void ThreePhasePage::PaintBox7Click() {
  PanelClick(SamplingSelection);
}

void ThreePhasePage::PaintBox8Click() {
  PanelClick(PhasorSelection);
}

void ThreePhasePage::PanelClick(SignalPanel& sp) {
  RollPanel* panel = sp.Panel;
  panel->Toggle();
  if (panel->isHidden()) {
    panel->show();
    panel->raise();
    for (int step = 0; step < kSlideSteps; ++step) {
      panel->move(panel->x(), panel->y() + 1);
      panel->repaint();
    }
  }
  ApplyWiringRule(sp, MeasurementData.Set.Channel[0].Wiring);
}

void ThreePhasePage::CollapseSelectionPanels() {
  if (sliding_) return;
  sliding_ = true;
  struct Slide {
    SignalPanel* panel;
    QWidget* plot;
    uint32_t pause;
  };
  for (const Slide& s : {Slide{&SamplingSelection, PaintBox7, 0},
                         Slide{&PhasorSelection, PaintBox8, kPhasorSlidePause}}) {
    RollPanel* panel = s.panel->Panel;
    if (panel->isHidden()) continue;
    for (int step = 0; step < kSlideSteps; ++step) {
      panel->move(panel->x(), panel->y() - 1);
      panel->repaint();
      s.plot->repaint();
      if (s.pause) Sleep(s.pause);
    }
    panel->hide();
  }
  sliding_ = false;
}

void ThreePhasePage::SelectSignals(SignalPanel& panel, bool voltages, bool currents) {
  for (int s = 0; s < kPhaseSignalCount; ++s) {
    panel.CheckBoxes[s]->setChecked(IsCurrentSignal(s) ? currents : voltages);
  }
  RefreshThreePhasePage(MeasurementData);
}

bool ThreePhasePage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) CollapseSelectionPanels();
  return QWidget::eventFilter(watched, event);
}
