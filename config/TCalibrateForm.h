#pragma once
// "CalibrateForm", the service tool behind the hidden calibration entry: unlocks the
// instrument's calibration, sends the reference voltage and current applied to each
// channel, writes and reads the current phase corrections of each channel and band, and
// selects the band. Every value is one write-float or one command; nothing is
// acknowledged visibly.

#include <QDialog>
#include <array>

#include "link/ConfigViews.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class SamplingControl;

// Registers of the calibration.
inline constexpr uint16_t kVoltageReferenceRegisters[3] = {802, 817, 831};
inline constexpr uint16_t kCurrentReferenceRegisters[3] = {806, 821, 835};
inline constexpr uint16_t kUnlockRegister = 801;
inline constexpr uint8_t kUnlockCommandByte = 0xC6;
inline constexpr uint16_t kTemperatureRegister = 814;

class TCalibrateForm : public QDialog, public CalibrationView {
  Q_OBJECT
 public:
  explicit TCalibrateForm(QWidget* parent = nullptr);

  // The main window's sampling, for the single, continuous and stop buttons.
  void SetSampling(SamplingControl* sampling) { sampling_ = sampling; }

  // CalibrationView: the read-back of phase row `edit` − 7.
  void SetCalibrationEditText(int edit, const QString& text) override;

  // Handlers, by row: channel 0 to 2, phase row 0 to 5.
  void VoltageCalibrate(int channel);      // SeSkinButton1Click, 17, 29
  void CurrentCalibrate(int channel);      // SeSkinButton2Click, 18, 30
  void CopyCurrent(int channel);           // SeSkinButton28Click (2), SeSkinButton40Click (3)
  void PhaseWrite(int row);                // Button2Click to Button7Click
  void PhaseStep(int row, double step);    // SeSkinButton41Click to SeSkinButton52Click
  void PhaseRead(int row);                 // Button8Click to Button13Click
  void Button1Click();                     // unlock
  void BandClick(uint8_t band);            // SeSkinButton3Click (0), SeSkinButton4Click (1)
  void TemperatureClick(uint8_t command);  // SeSkinButton5Click to SeSkinButton8Click

  std::array<QLineEdit*, 3> VoltageEdits;                              // Edit1, Edit3, Edit5
  std::array<QLineEdit*, 3> CurrentEdits;                              // Edit2, Edit4, Edit6
  std::array<QLineEdit*, 6> PhaseEdits;                                // Edit7 to Edit12
  QLineEdit* Edit13;                                                   // current multiplier
  std::array<QPushButton*, 3> VoltageButtons;                          // SeSkinButton1, 17, 29
  std::array<QPushButton*, 3> CurrentButtons;                          // SeSkinButton2, 18, 30
  std::array<std::array<QPushButton*, 4>, 3> VoltageReferenceButtons;  // "500" "220" "110" "40"
  std::array<QPushButton*, 4> CurrentReferenceButtons;  // SeSkinButton13 to 16 "8A" … "0.15A"
  std::array<QPushButton*, 2> CopyButtons;              // SeSkinButton28, SeSkinButton40
  std::array<QPushButton*, 6> PhaseWriteButtons;        // Button2 to Button7
  std::array<QPushButton*, 6> PhaseReadButtons;         // Button8 to Button13
  std::array<QPushButton*, 6> StepDownButtons;          // SeSkinButton41 to 46
  std::array<QPushButton*, 6> StepUpButtons;            // SeSkinButton47 to 52
  QPushButton* Button1;                                 // unlock
  QPushButton* SeSkinButton3;                           // narrow band
  QPushButton* SeSkinButton4;                           // broad band
  QGroupBox* TemperatureGroup;                          // hidden
  std::array<QPushButton*, 4> TemperatureButtons;       // SeSkinButton5 to 8
  QPushButton* Button14;                                // single read
  QPushButton* Button15;                                // continuous read
  QPushButton* Button16;                                // stop

 private:
  SamplingControl* sampling_ = nullptr;
};

// The number of a calibration box: empty is 0; otherwise a decimal number, or
// EConvertError naming the text.
double CalibrationNumber(const QString& text);
