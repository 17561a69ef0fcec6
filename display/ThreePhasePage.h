#pragma once
// The "Three-phase Analysis" page: the sampling plot of the six signals and the phasor
// diagram on the left, each with a selection panel of check boxes laid over it, and three
// boxes of three-phase values on the right. Its refresh also sets the bandwidth and wiring
// texts of the status bar and hides or shows pages by the wiring channel 1 reports. Every
// control carries its fixed name as object name ("Label68", "GroupBox13", "PaintBox7").

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "display/MeasurementModel.h"
#include "display/PhaseSignals.h"
#include "display/PlotBox.h"
#include "display/RollPanel.h"
#include "display/SideStrip.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class ThreePhaseHost;

// A plot box that reports each repaint after copying its image.
class NotifyingPlotBox : public PlotBox {
 public:
  using PlotBox::PlotBox;
  std::function<void()> Painted;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A selection panel with a check box and a coloured label per signal (Ua to Ic) and the
// "U", "I" and "UI" buttons.
struct SignalPanel {
  RollPanel* Panel = nullptr;
  std::array<QCheckBox*, kPhaseSignalCount> CheckBoxes{};
  std::array<QLabel*, kPhaseSignalCount> Labels{};
  QPushButton* VoltageButton = nullptr;  // "U"
  QPushButton* CurrentButton = nullptr;  // "I"
  QPushButton* BothButton = nullptr;     // "UI"

  // The signals a plot draws: ticked and not hidden by the wiring.
  SignalSelection Shown() const;
};

// A caption and its value label in a three-phase row; column 0 to 2 from the left.
struct ThreePhasePair {
  QLabel* Caption = nullptr;
  QLabel* Value = nullptr;
  int Column = 0;
};

// A row panel with its row caption ("Voltage", "Sequence", ...) and pairs.
struct ThreePhaseRow {
  QFrame* Panel = nullptr;
  QLabel* Caption = nullptr;
  std::vector<ThreePhasePair> Pairs;
};

// A value box with its side strip and rows, top to bottom.
struct ThreePhaseBox {
  QFrame* Box = nullptr;
  SideStrip* Strip = nullptr;
  std::vector<ThreePhaseRow> Rows;
};

class ThreePhasePage : public QWidget {
  Q_OBJECT

 public:
  // The page starts placed for the default page size (978 x 605).
  explicit ThreePhasePage(QWidget* parent = nullptr);

  // The main window's side: status bar texts and tabs. Without a host the refresh only
  // updates the page itself.
  void SetHost(ThreePhaseHost* host) { host_ = host; }

  // The box whose size every plot takes: channel 1's waveform box `Pic1`. By default the
  // page uses its own sampling box, which the layout makes the same size.
  void SetPlotSizeReference(const QWidget* box) { sizeReference_ = box; }

  // Sets the status texts, shows or hides pages by channel 1's wiring and fills the value
  // labels as the wiring allows, then draws the sampling plot and the phasor diagram into
  // ScratchImage and stores them in SamplingImage and PhasorImage. Clicks on the check
  // boxes and buttons refresh from MeasurementData.
  void RefreshThreePhasePage(const MeasurementRecord& record = MeasurementData);

  // A click on PaintBox7 or PaintBox8: rolls its panel up or down; a hidden panel is shown
  // and slides down by 12 pixels. Then the wiring rule is applied to that panel.
  void PaintBox7Click();
  void PaintBox8Click();
  // A mouse move over the page background, the phasor group box frame or a side strip:
  // every shown panel slides up by 12 pixels and is hidden.
  void CollapseSelectionPanels();

  // The wiring rule of a selection panel: wiring 1 hides the Uc and Ic check boxes and
  // labels and unchecks them; 0, 2 and 3 show them; 4 or more changes nothing.
  static void ApplyWiringRule(SignalPanel& panel, uint8_t wiring);

  // Controls the layout places.
  QGroupBox* GroupBox13;  // " Sampling "
  QFrame* Panel21;
  NotifyingPlotBox* PaintBox7;
  QGroupBox* GroupBox14;  // " Phasor diagram  "
  QFrame* Panel42;
  NotifyingPlotBox* PaintBox8;
  SignalPanel SamplingSelection;   // SeSkinPanel1: SeSkinCheckBox1 to 6, SeSkinButton1 to 3
  SignalPanel PhasorSelection;     // SeSkinPanel2: SeSkinCheckBox7 to 12, SeSkinButton5 to 7
  ThreePhaseBox ComprehensiveBox;  // SeSkinScrollBox1, strip PaintBox9, eight rows
  ThreePhaseBox UnbalanceBox;      // SeSkinScrollBox2, strip PaintBox10, four rows
  ThreePhaseBox IntegrationBox;    // SeSkinScrollBox4, strip PaintBox12, three rows

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPlots();
  void BuildSignalPanel(SignalPanel& panel, QGroupBox* group, const char* name,
                        const QString& caption, int width, int firstCheckBox, const char* ucLabel,
                        const char* icLabel, int firstButton);
  void BuildValueBoxes();
  void ShowValues(const MeasurementRecord& record, uint8_t wiring);
  void PanelClick(SignalPanel& panel);
  void SelectSignals(SignalPanel& panel, bool voltages, bool currents);

  ThreePhaseHost* host_ = nullptr;
  const QWidget* sizeReference_ = nullptr;
  bool sliding_ = false;
  std::vector<QLabel*> valueLabels_;  // in the order of the value table
};
