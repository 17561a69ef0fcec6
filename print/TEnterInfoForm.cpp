#include "print/TEnterInfoForm.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "platform/SettingsKeys.h"
#include "print/PrintInfo.h"

TEnterInfoForm::TEnterInfoForm(QWidget* parent, const IniFile& file)
    : QDialog(parent), file_(file) {
  setObjectName("TEnterInfoForm");
  setWindowTitle("Enter the print information");
  setFixedSize(449, 281);
  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(8, 4, 433, 193);

  auto row = [&](const char* caption, const char* name, int top, int width) {
    auto* label = new QLabel(caption, GroupBox1);
    label->move(24, top + 8);
    auto* edit = new QLineEdit(GroupBox1);
    edit->setObjectName(name);
    edit->setGeometry(144, top, width, 21);
    return edit;
  };
  Edit1 = row("Project Name:", "Edit1", 16, 273);
  Edit2 = row("Testing organizations:", "Edit2", 48, 273);
  Edit3 = row("Tester:", "Edit3", 80, 273);
  Edit4 = row("Date:", "Edit4", 112, 273);
  Edit5 = row("Temperature:", "Edit5", 144, 97);
  SeSkinRadioButton1 = new QRadioButton(QString::fromUtf8("℃"), GroupBox1);
  SeSkinRadioButton1->setObjectName("SeSkinRadioButton1");
  SeSkinRadioButton1->move(256, 144);
  SeSkinRadioButton1->setChecked(true);
  SeSkinRadioButton2 = new QRadioButton("F", GroupBox1);
  SeSkinRadioButton2->setObjectName("SeSkinRadioButton2");
  SeSkinRadioButton2->move(336, 144);

  auto button = [&](const char* caption, const char* name, int left) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setGeometry(left, 208, 75, 25);
    return b;
  };
  SeSkinButton1 = button("Enter", "SeSkinButton1", 96);
  SeSkinButton2 = button("Cancel", "SeSkinButton2", 184);
  SeSkinButton3 = button("Exit", "SeSkinButton3", 272);
  ConnectHandler(SeSkinButton1, &QPushButton::clicked, this, [this] { SeSkinButton1Click(); });
  ConnectHandler(SeSkinButton2, &QPushButton::clicked, this, [this] { SeSkinButton2Click(); });
  ConnectHandler(SeSkinButton3, &QPushButton::clicked, this, [this] { SeSkinButton3Click(); });
  RunHandler([this] { FormCreate(); });
}

void TEnterInfoForm::FormCreate() {
  using namespace settings;
  Edit1->setText(file_.ReadString(kPrintInfo, kProjectName));
  Edit2->setText(file_.ReadString(kPrintInfo, kCompany));
  Edit3->setText(file_.ReadString(kPrintInfo, kTester));
  // The date offered is always today's; the stored one is printed until Enter replaces it.
  Edit4->setText(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
  Edit5->setText(file_.ReadString(kPrintInfo, kTemperature));
  const int units = file_.ReadInteger(kPrintInfo, kUnits);
  (units == 1 ? SeSkinRadioButton1 : SeSkinRadioButton2)->setChecked(true);
}

void TEnterInfoForm::SeSkinButton1Click() {
  using namespace settings;
  const int units = SeSkinRadioButton1->isChecked() ? 1 : 0;
  try {
    file_.WriteString(kPrintInfo, kProjectName, Edit1->text());
    file_.WriteString(kPrintInfo, kCompany, Edit2->text());
    file_.WriteString(kPrintInfo, kTester, Edit3->text());
    file_.WriteString(kPrintInfo, kDate, Edit4->text());
    file_.WriteString(kPrintInfo, kTemperature, Edit5->text());
    file_.WriteInteger(kPrintInfo, kUnits, units);
  } catch (const AppError&) {
    ShowMessage(QString("Unable to write to %1").arg(file_.Path()));
    return;
  }
  if (onEntered) onEntered();
  hide();
}

void TEnterInfoForm::SeSkinButton2Click() {
  hide();
}

void TEnterInfoForm::SeSkinButton3Click() {
  hide();
}
