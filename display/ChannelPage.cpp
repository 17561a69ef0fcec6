#include "display/ChannelPage.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "display/ChannelPageLayout.h"
#include "display/HarmonicChart.h"
#include "display/PageGeometry.h"
#include "display/PageWidgets.h"
#include "display/PlotBox.h"
#include "display/PlotDrawing.h"
#include "display/PlotImages.h"
#include "display/RollPanel.h"
#include "display/ShowMeasuredValue.h"
#include "display/SideStrip.h"
#include "display/ValueFormat.h"
#include "display/WaveformPlot.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/SettingsKeys.h"

namespace {

// A caption ends 4 pixels before its value, which stands at a fixed distance from it.
const int kCaptionRoom = ChannelValueLeft(0, 0) - ChannelCaptionLeft(0, 0) - 4;

enum BoxIndex { kVoltageBox, kCurrentBox, kPowerBox };

// One value label of the page. Where the channels differ, the three entries are for
// channels 1, 2 and 3.
struct ValueField {
  BoxIndex box;
  int row, column;  // from 0
  const char* caption;
  size_t offset;  // in the ChannelBlock
  bool counter;   // a float64 energy counter
  const char* units[3];
  int widths[3];
  float scale, divisor;
  const char* labels[3];
};

constexpr float k3 = 1000;  // scale and divisor of three decimals
constexpr float k10 = 10;

// clang-format off
const ValueField kValueFields[] = {
  {kVoltageBox, 0, 0, "TRMS", offsetof(ChannelBlock, VoltageTrms), false, {" V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label3", "Label22", "Label252"}},
  {kVoltageBox, 0, 1, "Peak", offsetof(ChannelBlock, VoltagePeak), false, {" V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label6", "Label27", "Label255"}},
  {kVoltageBox, 0, 2, "P - P", offsetof(ChannelBlock, VoltagePeakToPeak), false, {" V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label7", "Label28", "Label256"}},
  {kVoltageBox, 1, 0, "Frequency", offsetof(ChannelBlock, Frequency), false, {" Hz", " Hz", " Hz"}, {6, 6, 6}, k3, k3, {"Label10", "Label36", "Label258"}},
  {kVoltageBox, 1, 1, "Phase", offsetof(ChannelBlock, VoltagePhase), false, {" deg", " deg", " deg"}, {5, 5, 5}, k10, k10, {"Label13", "Label197", "Label261"}},
  {kVoltageBox, 1, 2, "CF", offsetof(ChannelBlock, VoltageCrestFactor), false, {" ", " ", " "}, {5, 6, 6}, k3, k3, {"Label14", "Label204", "Label262"}},
  {kVoltageBox, 2, 0, "FF", offsetof(ChannelBlock, VoltageFormFactor), false, {" ", " ", " "}, {5, 6, 6}, k3, k3, {"Label17", "Label210", "Label264"}},
  {kVoltageBox, 2, 1, "Mean", offsetof(ChannelBlock, VoltageMean), false, {" V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label20", "Label213", "Label267"}},
  {kVoltageBox, 2, 2, "RMEAN", offsetof(ChannelBlock, VoltageRectifiedMean), false, {"V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label21", "Label214", "Label268"}},
  {kVoltageBox, 3, 0, "THD-F", offsetof(ChannelBlock, VoltageThdF), false, {" %", " %", " %"}, {5, 6, 6}, k3, k10, {"Label24", "Label216", "Label270"}},
  {kVoltageBox, 3, 1, "THD-R", offsetof(ChannelBlock, VoltageThdR), false, {" %", " %", " %"}, {5, 6, 6}, k3, k10, {"Label305", "Label309", "Label313"}},
  {kVoltageBox, 3, 2, "TIF", offsetof(ChannelBlock, VoltageTif), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label308", "Label312", "Label316"}},
  {kVoltageBox, 4, 0, "THF", offsetof(ChannelBlock, VoltageThf), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label341", "Label417", "Label429"}},
  {kVoltageBox, 4, 1, "FFCR", offsetof(ChannelBlock, VoltageFfcr), false, {" %", " %", "%"}, {6, 6, 6}, k3, k10, {"Label344", "Label420", "Label432"}},
  {kVoltageBox, 4, 2, "K-Factor", offsetof(ChannelBlock, VoltageKFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label345", "Label421", "Label433"}},
  {kCurrentBox, 0, 0, "TRMS", offsetof(ChannelBlock, CurrentTrms), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label31", "Label218", "Label272"}},
  {kCurrentBox, 0, 1, "Peak", offsetof(ChannelBlock, CurrentPeak), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label34", "Label221", "Label275"}},
  {kCurrentBox, 0, 2, "P - P", offsetof(ChannelBlock, CurrentPeakToPeak), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label35", "Label222", "Label276"}},
  {kCurrentBox, 1, 0, "Phase", offsetof(ChannelBlock, CurrentPhase), false, {" deg", " deg", " deg"}, {6, 6, 6}, k10, k10, {"Label38", "Label224", "Label278"}},
  {kCurrentBox, 1, 1, "CF", offsetof(ChannelBlock, CurrentCrestFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label41", "Label227", "Label281"}},
  {kCurrentBox, 1, 2, "FF", offsetof(ChannelBlock, CurrentFormFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label42", "Label228", "Label282"}},
  {kCurrentBox, 2, 0, "Mean", offsetof(ChannelBlock, CurrentMean), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label45", "Label230", "Label284"}},
  {kCurrentBox, 2, 1, "RMEAN", offsetof(ChannelBlock, CurrentRectifiedMean), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label113", "Label232", "Label286"}},
  {kCurrentBox, 3, 0, "THD-F", offsetof(ChannelBlock, CurrentThdF), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label318", "Label324", "Label330"}},
  {kCurrentBox, 3, 1, "THD-R", offsetof(ChannelBlock, CurrentThdR), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label319", "Label325", "Label331"}},
  {kCurrentBox, 3, 2, "TIF", offsetof(ChannelBlock, CurrentTif), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label322", "Label328", "Label334"}},
  {kCurrentBox, 4, 0, "THF", offsetof(ChannelBlock, CurrentThf), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label411", "Label423", "Label435"}},
  {kCurrentBox, 4, 1, "FFCR", offsetof(ChannelBlock, CurrentFfcr), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label414", "Label426", "Label438"}},
  {kCurrentBox, 4, 2, "K-Factor", offsetof(ChannelBlock, CurrentKFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label415", "Label427", "Label439"}},
  {kPowerBox, 0, 0, "Power", offsetof(ChannelBlock, ActivePower), false, {" W", " W", " W"}, {6, 6, 6}, k3, k3, {"Label192", "Label236", "Label290"}},
  {kPowerBox, 0, 1, "S", offsetof(ChannelBlock, ApparentPower), false, {" VA", " VA", " VA"}, {6, 6, 6}, k3, k3, {"Label195", "Label238", "Label292"}},
  {kPowerBox, 0, 2, "Q", offsetof(ChannelBlock, ReactivePower), false, {" VAR", " VAR", " VAR"}, {6, 6, 6}, k3, k3, {"Label335", "Label336", "Label337"}},
  {kPowerBox, 1, 0, "PF", offsetof(ChannelBlock, PowerFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label199", "Label240", "Label294"}},
  {kPowerBox, 1, 1, "PeakPower", offsetof(ChannelBlock, PeakPower), false, {" W", " W", " W"}, {6, 6, 6}, k3, k3, {"Label202", "Label243", "Label297"}},
  {kPowerBox, 1, 2, "Impedance", offsetof(ChannelBlock, Impedance), false, {" \u03A9", " \u03A9", " \u03A9"}, {6, 6, 6}, k3, k3, {"Label203", "Label244", "Label298"}},
  {kPowerBox, 2, 0, "KWH", offsetof(ChannelBlock, EnergyKwh), true, {" ", " ", " "}, {9, 9, 9}, k3, k3, {"Label206", "Label246", "Label300"}},
  {kPowerBox, 2, 1, "WP+", offsetof(ChannelBlock, EnergyPositive), true, {" ", " ", " "}, {9, 9, 9}, k3, k3, {"Label208", "Label248", "Label302"}},
  {kPowerBox, 2, 2, "WP-", offsetof(ChannelBlock, EnergyNegative), true, {" ", " ", " "}, {9, 9, 9}, k3, k3, {"Label196", "Label249", "Label303"}},
};
// clang-format on
constexpr size_t kValueFieldCount = std::size(kValueFields);

struct BoxNames {
  const char* box;
  const char* strip;
  const char* title;
  const char* rows[5];
  int rowCount;
};

// Names of the value boxes, per channel.
const BoxNames kBoxNames[3][3] = {
    {{"SeSkinScrollBox5",
      "PaintBox13",
      "Voltage",
      {"Panel6", "Panel7", "Panel8", "Panel9", "Panel4"},
      5},
     {"SeSkinScrollBox6",
      "PaintBox14",
      "Current",
      {"Panel10", "Panel11", "Panel12", "Panel63", "Panel22"},
      5},
     {"SeSkinScrollBox7", "PaintBox15", "Comprehensive", {"Panel13", "Panel14", "Panel15"}, 3}},
    {{"SeSkinScrollBox8",
      "PaintBox16",
      "Voltage",
      {"Panel16", "Panel17", "Panel18", "Panel19", "Panel40"},
      5},
     {"SeSkinScrollBox9",
      "PaintBox17",
      "Current",
      {"Panel20", "Panel24", "Panel25", "Panel64", "Panel93"},
      5},
     {"SeSkinScrollBox10", "PaintBox18", "Comprehensive", {"Panel26", "Panel27", "Panel28"}, 3}},
    {{"SeSkinScrollBox11",
      "PaintBox19",
      "Voltage",
      {"Panel29", "Panel30", "Panel31", "Panel32", "Panel94"},
      5},
     {"SeSkinScrollBox12",
      "PaintBox20",
      "Current",
      {"Panel33", "Panel34", "Panel35", "Panel65", "Panel95"},
      5},
     {"SeSkinScrollBox13", "PaintBox21", "Comprehensive", {"Panel36", "Panel37", "Panel38"}, 3}},
};

// Names of the plot controls, per channel.
struct PlotNames {
  const char *samplingBox, *samplingPanel, *wave, *harmonicBox, *harmonicPanel, *chart, *selection,
      *voltageRadio, *voltageLabel, *currentRadio, *currentLabel;
};
const PlotNames kPlotNames[3] = {
    {"GroupBox1", "Panel2", "Pic1", "GroupBox3", "Panel23", "Pic2", "SeSkinPanel5", "RadioButton1",
     "Label8", "RadioButton2", "Label233"},
    {"GroupBox5", "Panel3", "PaintBox1", "GroupBox7", "Panel39", "PaintBox2", "SeSkinPanel6",
     "RadioButton3", "Label1", "RadioButton4", "Label234"},
    {"GroupBox9", "Panel1", "PaintBox4", "GroupBox11", "Panel41", "PaintBox5", "SeSkinPanel7",
     "RadioButton5", "Label287", "RadioButton6", "Label288"},
};

// Fields are read by copying bytes, since the packed block has no alignment of its own.
float FloatAt(const ChannelBlock& block, size_t offset) {
  float value;
  std::memcpy(&value, reinterpret_cast<const char*>(&block) + offset, sizeof value);
  return value;
}

double DoubleAt(const ChannelBlock& block, size_t offset) {
  double value;
  std::memcpy(&value, reinterpret_cast<const char*>(&block) + offset, sizeof value);
  return value;
}

}  // namespace

ChannelPage::ChannelPage(int channel, QWidget* parent)
    : QWidget(parent),
      channel_(channel < 1   ? 1
               : channel > 3 ? 3
                             : channel) {
  setFont(PageFont(11));
  BuildPlots();
  BuildValueBoxes();
  resize(kDefaultPageSize);
  PlaceChannelPage(*this, kDefaultPageSize);
}

void ChannelPage::BuildPlots() {
  const PlotNames& names = kPlotNames[channel_ - 1];
  const int c = channel_ - 1;

  SamplingGroupBox = new QGroupBox(QString(" Channel %1 Sampling ").arg(channel_), this);
  SamplingGroupBox->setObjectName(names.samplingBox);
  SamplingPanel = PlotPanel(SamplingGroupBox, names.samplingPanel);
  WavePaintBox = new PlotBox(SamplingPanel);
  WavePaintBox->setObjectName(names.wave);
  WavePaintBox->SetImage(&WaveImage[c]);

  HarmonicGroupBox =
      new QGroupBox(QString(" Channel %1 voltage harmonic maps ").arg(channel_), this);
  HarmonicGroupBox->setObjectName(names.harmonicBox);
  HarmonicPanel = PlotPanel(HarmonicGroupBox, names.harmonicPanel);
  HarmonicPaintBox = new PlotBox(HarmonicPanel);
  HarmonicPaintBox->setObjectName(names.chart);
  HarmonicPaintBox->SetImage(&VoltageHarmonicImage[c]);
  connect(HarmonicPaintBox, &PlotBox::Clicked, this, [this] { SelectionPanel->Toggle(); });

  SelectionPanel = new RollPanel("Signal selection", 125, 85, HarmonicGroupBox);
  SelectionPanel->setObjectName(names.selection);
  SelectionPanel->move(HarmonicGroupBox->width() - 140, 16);

  auto radio = [&](const char* name, int y) {
    auto* button = new QRadioButton(SelectionPanel);
    button->setObjectName(name);
    button->setGeometry(8, y, 16, 16);
    return button;
  };
  auto label = [&](const char* name, const char* text, int y, QColor back) {
    auto* l = new QLabel(text, SelectionPanel);
    l->setObjectName(name);
    l->setFont(PageFont(11));
    SetColours(l, back, Qt::white);
    l->adjustSize();
    l->move(24, y);
    l->installEventFilter(this);
    return l;
  };
  VoltageRadioButton = radio(names.voltageRadio, 34);
  VoltageRadioLabel = label(names.voltageLabel, " Voltage harmonics  ", 35, QColor(0, 128, 0));
  CurrentRadioButton = radio(names.currentRadio, 58);
  CurrentRadioLabel = label(names.currentLabel, " Current harmonics  ", 59, QColor(255, 0, 0));
  connect(VoltageRadioButton, &QRadioButton::toggled, this, [this](bool on) {
    if (on) HarmonicRadioClicked(0);
  });
  connect(CurrentRadioButton, &QRadioButton::toggled, this, [this](bool on) {
    if (on) HarmonicRadioClicked(1);
  });
  SelectionPanel->raise();
}

void ChannelPage::BuildValueBoxes() {
  const int c = channel_ - 1;
  ValueBox* boxes[3] = {&VoltageBox, &CurrentBox, &PowerBox};
  for (int b = 0; b < 3; ++b) {
    const BoxNames& names = kBoxNames[c][b];
    ValueBox& box = *boxes[b];
    box.Box = ValueBoxFrame(this, names.box);
    box.Strip =
        new SideStrip(names.title, ChannelStripFill(channel_), ChannelStripText(channel_), box.Box);
    box.Strip->setObjectName(names.strip);
    for (int r = 0; r < names.rowCount; ++r) {
      ValueRow row;
      row.Panel = ValueRowPanel(box.Box, names.rows[r], r, palette());
      box.Rows.push_back(row);
    }
  }

  const QFont captionFont = PageFont(11);
  const QFont valueFont = PageFont(16, true);
  const QSize valueSize = ValueLabelSize(valueFont);
  valueLabels_.reserve(kValueFieldCount);
  for (const ValueField& field : kValueFields) {
    ValueRow& row = boxes[field.box]->Rows[field.row];
    ValuePair pair;
    pair.Column = field.column;
    pair.Caption = CaptionLabel(field.caption, row.Panel, captionFont, kCaptionRoom);
    pair.Value = ValueLabel(row.Panel, field.labels[c], valueFont, valueSize);
    row.Pairs.push_back(pair);
    valueLabels_.push_back(pair.Value);
  }
}

void ChannelPage::RefreshChannelPage(const MeasurementRecord& record) {
  const int c = channel_ - 1;
  const ChannelBlock block = record.Set.Channel[c];
  for (size_t i = 0; i < kValueFieldCount; ++i) {
    const ValueField& f = kValueFields[i];
    const QString unit = QString::fromUtf8(f.units[c]);
    if (f.counter) {
      ShowCounterValue(valueLabels_[i], unit, f.scale, f.divisor, DoubleAt(block, f.offset));
    } else {
      ShowMeasuredValue(valueLabels_[i], unit, f.widths[c], f.scale, f.divisor,
                        FloatAt(block, f.offset));
    }
  }

  if (!PlotImagesCreated()) CreatePlotImages();
  const QWidget* reference = sizeReference_ ? sizeReference_ : WavePaintBox;
  PlotRect = QRect(0, 0, reference->width(), reference->height());
  const int H = reference->height() - 2;
  const int W = reference->width() - 2;
  DrawWaveformPlot(ScratchImage, PlotRect, H, W, ScaleColor, block, WaveBackground,
                   kCurrentTraceColour, kVoltageTraceColour);
  CopyPlotRect(ScratchImage, WaveImage[c]);
  WavePaintBox->update();
  DrawHarmonicChart(ScratchImage, PlotRect, H, W, ScaleColor, block, WaveBackground,
                    HarmonicSignal::kVoltage);
  CopyPlotRect(ScratchImage, VoltageHarmonicImage[c]);
  DrawHarmonicChart(ScratchImage, PlotRect, H, W, ScaleColor, block, WaveBackground,
                    HarmonicSignal::kCurrent);
  CopyPlotRect(ScratchImage, CurrentHarmonicImage[c]);
  ShowChosenChart();
}

QString ChannelPage::HarmonicChoiceKey() const {
  return settings::kHarmonicChoice[channel_ - 1];
}

void ChannelPage::SelectHarmonicChoice(int choice) {
  (choice != 0 ? CurrentRadioButton : VoltageRadioButton)->setChecked(true);
}

void ChannelPage::LoadHarmonicChoice() {
  SelectHarmonicChoice(
      SystemSettings().ReadInteger(settings::kMyDisplayImage, HarmonicChoiceKey()));
}

void ChannelPage::HarmonicRadioClicked(int value) {
  // The choice takes effect before it is saved, so that a settings file that cannot be
  // written never leaves the chart disagreeing with the checked button.
  harmonicChoice_ = value;
  HarmonicGroupBox->setTitle(QString(" Channel %1 %2 harmonic maps ")
                                 .arg(channel_)
                                 .arg(value != 0 ? "current" : "voltage"));
  ShowChosenChart();
  RunHandler([&] {
    SystemSettings().WriteString(settings::kMyDisplayImage, HarmonicChoiceKey(),
                                 value != 0 ? "1" : "0");
  });
}

void ChannelPage::ShowChosenChart() {
  const int c = channel_ - 1;
  HarmonicPaintBox->SetImage(harmonicChoice_ != 0 ? &CurrentHarmonicImage[c]
                                                  : &VoltageHarmonicImage[c]);
  HarmonicPaintBox->update();
}

bool ChannelPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    if (watched == VoltageRadioLabel) VoltageRadioButton->setChecked(true);
    if (watched == CurrentRadioLabel) CurrentRadioButton->setChecked(true);
  }
  return QWidget::eventFilter(watched, event);
}
