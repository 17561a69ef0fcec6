#pragma once
// "Enter the print information": the six values every report prints, kept in
// EnterInfo.ini. The fields are filled once, when the window is made; Enter writes them.

#include <QDialog>
#include <functional>

#include "platform/IniFile.h"
#include "print/PrintInfo.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TEnterInfoForm : public QDialog {
  Q_OBJECT
 public:
  explicit TEnterInfoForm(QWidget* parent = nullptr, const IniFile& file = PrintInfoFile());

  // Runs when Enter has written the file: the print preview scrolls to its top.
  std::function<void()> onEntered;

  void FormCreate();
  void SeSkinButton1Click();  // Enter
  void SeSkinButton2Click();  // Cancel
  void SeSkinButton3Click();  // Exit

  QGroupBox* GroupBox1;
  QLineEdit* Edit1;                  // project name
  QLineEdit* Edit2;                  // testing organisation
  QLineEdit* Edit3;                  // tester
  QLineEdit* Edit4;                  // date
  QLineEdit* Edit5;                  // temperature
  QRadioButton* SeSkinRadioButton1;  // ℃
  QRadioButton* SeSkinRadioButton2;  // F
  QPushButton* SeSkinButton1;
  QPushButton* SeSkinButton2;
  QPushButton* SeSkinButton3;

 private:
  IniFile file_;
};
