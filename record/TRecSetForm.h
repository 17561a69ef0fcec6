#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <array>

#include "record/RecordFile.h"

class TRecordForm;

// The record settings window: the six recorded quantities, the sampling step and the
// save interval; Enter stores them in SysSet.ini and applies them to the record window.
class TRecSetForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRecSetForm(TRecordForm* record, QWidget* parent = nullptr);

  // Creation: selects the stored choices.
  void FormCreate();
  void EnterClick();
  void CancelClick();

  QGroupBox* ParameterGroup;
  std::array<QComboBox*, kRecordChannels> ChannelLists{};  // ComboBox3 to ComboBox8
  QComboBox* ComboBox2;                                    // sampling step
  QComboBox* ComboBox1;                                    // save interval
  QComboBox* ComboBox9;                                    // temperature, absent
  QPushButton* EnterButton;
  QPushButton* CancelButton;

 private:
  TRecordForm* record_;
};
