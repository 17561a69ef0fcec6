#include "display/ChannelPage.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <cstddef>

#include "display/ChannelPageLayout.h"
#include "display/HarmonicChart.h"
#include "display/PageGeometry.h"
#include "display/PageValueTable.h"
#include "display/PageWidgets.h"
#include "display/PlotBox.h"
#include "display/PlotDrawing.h"
#include "display/PlotImages.h"
#include "display/RollPanel.h"
#include "display/SideStrip.h"
#include "display/WaveformPlot.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/SettingsKeys.h"

namespace {

// A caption ends 4 pixels before its value, which stands at a fixed distance from it.
const int kCaptionRoom = ChannelValueLeft(0, 0) - ChannelCaptionLeft(0, 0) - 4;

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
  valueLabels_.reserve(ChannelValueFields().size());
  for (const ChannelValueField& field : ChannelValueFields()) {
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
  const auto fields = ChannelValueFields();
  for (size_t i = 0; i < fields.size(); ++i)
    valueLabels_[i]->setText(ChannelValueText(fields[i], block, channel_));

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
