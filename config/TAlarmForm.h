#pragma once
// "Alarm setting": the instrument's four alarms (register 1, 52 bytes): the mode, and
// for each alarm the watched quantity and its upper and lower limits, each switched on or
// off. Read from the instrument, shown, edited and written back.

#include <QDialog>
#include <QStringList>
#include <array>

#include "config/ConfigStatus.h"
#include "display/ConfigBlocks.h"
#include "link/ConfigViews.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// The parameter lists of the data sets: the channels' (33) and the three-phase one (16).
extern const QStringList kChannelAlarmParameters;
extern const QStringList kThreePhaseAlarmParameters;

// A limit as the window shows it: rounded to four decimals, halves to even.
QString AlarmLimitText(float limit);

class TAlarmForm : public QDialog, public AlarmView {
  Q_OBJECT
 public:
  explicit TAlarmForm(QWidget* parent = nullptr);

  // AlarmView.
  void AlarmFormCreate() override { FormCreate(); }
  void SetAlarmStatusText(const QString& text) override;
  void ShowAlarmFormModal() override { exec(); }

  void FormCreate();
  void Button3Click();            // Reading from instruments
  void Button1Click();            // Save to instrument
  void Button2Click();            // Exit
  void DataSetChange(int alarm);  // ComboBox1Change, 3, 5 and 7 for AL1 to AL4

  // The block the controls describe; false (and `wrong` naming the box) when a limit is
  // not a number.
  bool BlockFromControls(AlarmBlockData& block, QString& wrong) const;

  QRadioButton* SeSkinRadioButton1;      // Monitor Mode
  QRadioButton* SeSkinRadioButton2;      // Judgment Mode
  std::array<QLineEdit*, 8> Limits;      // Edit1 to Edit8: AL1 upper, AL1 lower, AL2 upper, …
  std::array<QCheckBox*, 8> Enables;     // CheckBox1 to CheckBox8
  std::array<QComboBox*, 4> DataSets;    // ComboBox1, 3, 5, 7
  std::array<QComboBox*, 4> References;  // ComboBox2, 4, 6, 8
  QListWidget* ListBox1;
  QListWidget* ListBox2;
  QPushButton* Button3;
  QPushButton* Button1;
  QPushButton* Button2;
  StatusPanel* SeSkinStatusBar1;
  AcknowledgeWait* WriteWait;

 private:
  void FillReferences(int alarm, int dataSet);
  void SetButtonsEnabled(bool enabled);
};
