#pragma once
// "Instrument settings": the instrument's measurement set-up (register 28, ten bytes):
// wiring, filter, current bandwidth, grayscale, phase trigger, ranges and demand window.
// The wiring choice also decides which pages the main window shows.

#include <QDialog>

#include "config/ConfigStatus.h"
#include "display/ConfigBlocks.h"
#include "link/ConfigViews.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class RadioGroup;
class ThreePhaseHost;

class TInputNetSet : public QDialog, public InstrumentSettingsView {
  Q_OBJECT
 public:
  explicit TInputNetSet(QWidget* parent = nullptr);

  // The main window, whose pages and wiring text follow the wiring choice.
  void SetHost(ThreePhaseHost* host) { host_ = host; }

  // InstrumentSettingsView.
  void ShowInstrumentSetup() override;
  void SetInstrumentStatusText(const QString& text) override;
  void InstrumentSettingsReadClick() override { SeSkinButton2Click(); }
  void ShowInstrumentSettingsForm() override { show(); }

  void SeSkinButton2Click();  // Reading from instruments
  void SeSkinButton1Click();  // Save to instrument
  void SeSkinButton3Click();  // Exit
  void SeSkinRadioGroup1Click();
  void SeSkinComboBox5Change();
  void SeSkinTrackBar1Change();
  // The block the controls describe.
  InstrumentSetupData SetupFromControls() const;

  QGroupBox* SeSkinGroupBox1;
  QLabel* Image1;
  RadioGroup* SeSkinRadioGroup1;
  QComboBox* SeSkinComboBox1;  // filter coefficient
  QCheckBox* SeSkinCheckBox1;  // filter on
  QComboBox* SeSkinComboBox2;  // current bandwidth
  QSlider* SeSkinTrackBar1;    // grayscale
  QLabel* Label1;
  QComboBox* SeSkinComboBox3;  // phase trigger
  QComboBox* SeSkinComboBox5;  // range mode
  QLabel* SeSkinLabel3;
  QComboBox* SeSkinComboBox6;  // voltage range
  QLabel* SeSkinLabel4;
  QComboBox* SeSkinComboBox7;  // current range
  QComboBox* SeSkinComboBox4;  // demand window
  QPushButton* SeSkinButton2;
  QPushButton* SeSkinButton1;
  QPushButton* SeSkinButton3;
  StatusPanel* SeSkinStatusBar1;
  AcknowledgeWait* WriteWait;

 private:
  ThreePhaseHost* host_ = nullptr;
};
