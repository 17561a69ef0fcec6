#pragma once
// One channel page of the main window: the waveform plot and the harmonic chart on the
// left, and three boxes of value rows (voltage, current, power) on the right. Every control
// carries its fixed name as object name ("Label3", "GroupBox1", "Pic1" on channel 1), so
// the main window, the layout and tests can find it by that name.

#include <QString>
#include <QWidget>
#include <vector>

#include "display/MeasurementModel.h"
#include "display/PlotBox.h"
#include "display/RollPanel.h"
#include "display/SideStrip.h"

class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;

// A caption and its value label; column 0 to 2 from the left.
struct ValuePair {
  QLabel* Caption = nullptr;
  QLabel* Value = nullptr;
  int Column = 0;
};

// A row panel of a value box with its pairs.
struct ValueRow {
  QFrame* Panel = nullptr;
  std::vector<ValuePair> Pairs;
};

// A value box ("SeSkinScrollBox5" and so on) with its side strip and rows, top to bottom.
struct ValueBox {
  QFrame* Box = nullptr;
  SideStrip* Strip = nullptr;
  std::vector<ValueRow> Rows;
};

class ChannelPage : public QWidget {
  Q_OBJECT

 public:
  // channel: 1, 2 or 3. The page starts placed for the default page size (978 x 605).
  explicit ChannelPage(int channel, QWidget* parent = nullptr);

  int Channel() const { return channel_; }

  // Brings the page up to date from the channel's block of `record`: every value label, then
  // the waveform plot and both harmonic charts (drawn into ScratchImage and stored), and
  // the chosen chart in the harmonic box. The plot size is that of the size reference box
  // (channel 1's waveform box); the colours are WaveBackground and ScaleColor. Creates the
  // off-screen images at half the screen size if nobody has yet.
  void RefreshChannelPage(const MeasurementRecord& record = MeasurementData);

  // The chart the harmonic box shows: 0 voltage, 1 current.
  int HarmonicChoice() const { return harmonicChoice_; }
  // Checks the voltage (0) or current (any other value) radio button; when that changes the
  // check state it runs the click handling: the chart and caption switch at once and the
  // choice is written to the settings file.
  void SelectHarmonicChoice(int choice);
  // Reads the choice from the settings file (default "2", so current) and selects it.
  // Throws EConvertError when the stored value is not an integer.
  void LoadHarmonicChoice();
  // The settings key of this channel's choice ("P1DisHar" to "P3DisHar").
  QString HarmonicChoiceKey() const;

  // The box whose size every plot takes: channel 1's waveform box `Pic1`. Pages 2 and 3
  // should be given page 1's WavePaintBox; by default each page uses its own.
  void SetPlotSizeReference(const QWidget* box) { sizeReference_ = box; }

  // Controls the layout places (their names for channel 1 / 2 / 3).
  QGroupBox* SamplingGroupBox;       // GroupBox1 / GroupBox5 / GroupBox9
  QFrame* SamplingPanel;             // Panel2 / Panel3 / Panel1
  PlotBox* WavePaintBox;             // Pic1 / PaintBox1 / PaintBox4
  QGroupBox* HarmonicGroupBox;       // GroupBox3 / GroupBox7 / GroupBox11
  QFrame* HarmonicPanel;             // Panel23 / Panel39 / Panel41
  PlotBox* HarmonicPaintBox;         // Pic2 / PaintBox2 / PaintBox5
  RollPanel* SelectionPanel;         // SeSkinPanel5 / SeSkinPanel6 / SeSkinPanel7
  QRadioButton* VoltageRadioButton;  // RadioButton1 / RadioButton3 / RadioButton5
  QLabel* VoltageRadioLabel;         // Label8 / Label1 / Label287
  QRadioButton* CurrentRadioButton;  // RadioButton2 / RadioButton4 / RadioButton6
  QLabel* CurrentRadioLabel;         // Label233 / Label234 / Label288
  ValueBox VoltageBox;  // SeSkinScrollBox5 / 8 / 11, strip PaintBox13 / 16 / 19, five rows
  ValueBox CurrentBox;  // SeSkinScrollBox6 / 9 / 12, strip PaintBox14 / 17 / 20, five rows
  ValueBox PowerBox;    // SeSkinScrollBox7 / 10 / 13, strip PaintBox15 / 18 / 21, three rows

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPlots();
  void BuildValueBoxes();
  void HarmonicRadioClicked(int value);
  void ShowChosenChart();

  int channel_;
  int harmonicChoice_ = 0;
  const QWidget* sizeReference_ = nullptr;
  std::vector<QLabel*> valueLabels_;  // in the order of the value table
};
