#include "config/TAlarmForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <cmath>
#include <cstring>

#include "display/ValueFormat.h"
#include "link/Frames.h"
#include "link/LinkState.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"

const QStringList kChannelAlarmParameters = {
    "Voltage (TRMS)",      "Peak voltage",         "Peak to peak voltage", "Frequency",
    "Voltage phase",       "Voltage crest factor", "Voltage form factor",  "Voltage Mean",
    "Voltage RMean",       "Voltage THD-F",        "Voltage THD-R",        "Voltage TIF",
    "Voltage THF",         "Voltage FFCR",         "Voltage K-Factor",     "Current (TRMS)",
    "Peak current",        "Peak to peak current", "Current Phase",        "Current crest factor",
    "Current form factor", "Current Mean",         "Current RMean",        "Current THD-F",
    "Current THD-R",       "Current TIF",          "Current THF",          "Current FFCR",
    "Current K-Factor",    "Active Power",         "Apparent Power",       "Reactive Power",
    "Power Factor"};
const QStringList kThreePhaseAlarmParameters = {"Line voltage Uab",
                                                "Line voltage Ubc",
                                                "Line voltage Uca",
                                                "Total active power",
                                                "Total apparent power",
                                                "Total reactive power",
                                                "Positive sequence voltage",
                                                "Negative sequence voltage",
                                                "Zero-sequence voltage",
                                                "Voltage Unbalance Factor",
                                                "Voltage Unbalance Rate / STD.112",
                                                "Positive sequence current",
                                                "Negative sequence current",
                                                "Zero-sequence current",
                                                "Current Unbalance Factor",
                                                "Current Unbalance Rate / STD.112"};

namespace {

constexpr uint16_t kNoSelection = 65535;
const char* const kLimitNames[8] = {"AL1 upper limit", "AL1 lower limit", "AL2 upper limit",
                                    "AL2 lower limit", "AL3 upper limit", "AL3 lower limit",
                                    "AL4 upper limit", "AL4 lower limit"};
const char* const kDesignLimits[8] = {"300", "0", "20", "0", "6000", "0", "1", "0"};

// The number in a limit box: empty is 0; anything but digits with at most one point is
// not a number.
bool LimitNumber(const QString& text, float& value) {
  if (text.isEmpty()) {
    value = 0;
    return true;
  }
  static const QRegularExpression form("^([0-9]+\\.?[0-9]*|\\.[0-9]+)$");
  if (!form.match(text).hasMatch()) return false;
  const double number = text.toDouble();
  if (!std::isfinite(number) || std::fabs(number) > 3.4e38) return false;
  value = static_cast<float>(number);
  return true;
}

}  // namespace

QString AlarmLimitText(float limit) {
  return GeneralText(static_cast<long double>(std::nearbyint(static_cast<double>(limit) * 10000)) /
                     10000);
}

TAlarmForm::TAlarmForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TAlarmForm");
  setWindowTitle("Alarm setting");
  resize(543, 547);

  auto* mode = new QGroupBox(" Alarm mode ", this);
  mode->setGeometry(8, 8, 527, 70);
  SeSkinRadioButton1 = new QRadioButton("Monitor Mode ", mode);
  SeSkinRadioButton1->setObjectName("SeSkinRadioButton1");
  SeSkinRadioButton1->move(12, 20);
  (new QLabel("(Full range of monitoring)", mode))->move(160, 22);
  SeSkinRadioButton2 = new QRadioButton("Judgment Mode  ", mode);
  SeSkinRadioButton2->setObjectName("SeSkinRadioButton2");
  SeSkinRadioButton2->move(12, 44);
  (new QLabel("(Current is less than 1% of the range will be shielded alarm)", mode))
      ->move(160, 46);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->addItems(kChannelAlarmParameters);
  ListBox1->hide();
  ListBox2 = new QListWidget(this);
  ListBox2->setObjectName("ListBox2");
  ListBox2->addItems(kThreePhaseAlarmParameters);
  ListBox2->hide();

  auto* limitKeys = new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), this);
  const char* dataSetCaptions[4] = {"Data set ", "Data set ", "Data set  ", "Data set  "};
  for (int a = 0; a < 4; ++a) {
    auto* box = new QGroupBox(QString(" AL%1 ").arg(a + 1), this);
    box->setGeometry(8, 84 + a * 98, 527, 92);
    for (int k = 0; k < 2; ++k) {
      const int i = 2 * a + k;
      const QString caption = QString(k == 0 ? "Upper limit" : "Lower limit") + (a == 3 ? " " : "");
      (new QLabel(caption, box))->move(12, 24 + k * 32);
      Limits[i] = new QLineEdit(kDesignLimits[i], box);
      Limits[i]->setObjectName(QString("Edit%1").arg(i + 1));
      Limits[i]->setGeometry(90, 20 + k * 32, 120, 22);
      Limits[i]->setValidator(limitKeys);
      Enables[i] = new QCheckBox("ON", box);
      Enables[i]->setObjectName(QString("CheckBox%1").arg(i + 1));
      Enables[i]->move(218, 22 + k * 32);
    }
    (new QLabel(dataSetCaptions[a], box))->move(280, 24);
    DataSets[a] = new QComboBox(box);
    DataSets[a]->setObjectName(QString("ComboBox%1").arg(2 * a + 1));
    DataSets[a]->addItems(
        {"CH1  (Phase A)", "CH2  (Phase B)", "CH3  (Phase C)", "Three-phase Analysis"});
    DataSets[a]->setGeometry(380, 20, 140, 22);
    (new QLabel("Reference data", box))->move(280, 56);
    References[a] = new QComboBox(box);
    References[a]->setObjectName(QString("ComboBox%1").arg(2 * a + 2));
    References[a]->setPlaceholderText(QString::fromUtf8("请选择数据"));
    References[a]->setGeometry(380, 52, 140, 22);
    connect(DataSets[a], &QComboBox::activated, this, [this, a] { DataSetChange(a); });
  }

  auto button = [&](const char* text, const char* name, int left) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setGeometry(left, 482, 160, 30);
    return b;
  };
  Button3 = button("Reading from instruments", "Button3", 16);
  Button1 = button("Save to instrument", "Button1", 192);
  Button2 = button("Exit", "Button2", 368);
  SeSkinStatusBar1 = new StatusPanel(this);
  SeSkinStatusBar1->setObjectName("SeSkinStatusBar1");
  SeSkinStatusBar1->setGeometry(0, 523, 543, 24);
  WriteWait =
      new AcknowledgeWait([this] { SeSkinStatusBar1->SetText(kNotAcknowledgedText); }, this);
  ConnectHandler(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  ConnectHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  ConnectHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  RunHandler([this] { FormCreate(); });
}

void TAlarmForm::FillReferences(int alarm, int dataSet) {
  QComboBox* box = References[static_cast<size_t>(alarm)];
  const QListWidget* list = dataSet <= 2 ? ListBox1 : ListBox2;
  box->clear();
  for (int i = 0; i < list->count(); ++i) box->addItem(list->item(i)->text());
}

void TAlarmForm::FormCreate() {
  const AlarmBlockData& block = AlarmBlock;
  (block.AlarmMode == 0 ? SeSkinRadioButton1 : SeSkinRadioButton2)->setChecked(true);
  for (int i = 0; i < 8; ++i) Enables[i]->setChecked((block.EnableBits >> i) & 1);
  for (int a = 0; a < 4; ++a) {
    Limits[2 * a]->setText(AlarmLimitText(block.Limit[a].Upper));
    Limits[2 * a + 1]->setText(AlarmLimitText(block.Limit[a].Lower));
  }
  for (int a = 0; a < 4; ++a) {
    const int dataSet = block.Alarm[a].DataSet;
    DataSets[a]->setCurrentIndex(dataSet < DataSets[a]->count() ? dataSet : -1);
    FillReferences(a, dataSet);
    const int reference = block.Alarm[a].Reference;
    References[a]->setCurrentIndex(reference < References[a]->count() ? reference : -1);
  }
}

void TAlarmForm::DataSetChange(int alarm) {
  const int dataSet = DataSets[static_cast<size_t>(alarm)]->currentIndex();
  FillReferences(alarm, dataSet);
  // A channel starts at its first quantity; the three-phase list waits for a choice.
  References[static_cast<size_t>(alarm)]->setCurrentIndex(dataSet <= 2 ? 0 : -1);
}

void TAlarmForm::SetAlarmStatusText(const QString& text) {
  if (text == kAlarmsWrittenText) WriteWait->Acknowledged();
  SeSkinStatusBar1->SetText(text);
}

void TAlarmForm::Button3Click() {
  SeSkinStatusBar1->SetText("Is requesting  instrument data ...");
  if (!SendReadRequest(SlaveAddress, kRegisterAlarms, kAlarmBlockSize))
    ShowMessage(
        "Synchronization fails, instrument has been shut down or computer has not properly "
        "connected.");
  LastReadRegister = kRegisterAlarms;
  LastReadCount = kAlarmBlockSize;
}

bool TAlarmForm::BlockFromControls(AlarmBlockData& block, QString& wrong) const {
  AlarmBlockData built{};
  built.AlarmMode = SeSkinRadioButton1->isChecked() ? 0 : 1;
  for (int a = 0; a < 4; ++a) {
    for (int k = 0; k < 2; ++k) {
      const int i = 2 * a + k;
      float value = 0;
      if (!LimitNumber(Limits[i]->text(), value)) {
        wrong = QString("%1: \"%2\" is not a number").arg(kLimitNames[i], Limits[i]->text());
        return false;
      }
      (k == 0 ? built.Limit[a].Upper : built.Limit[a].Lower) = value;
    }
  }
  for (int i = 0; i < 8; ++i)
    if (Enables[i]->isChecked()) built.EnableBits |= static_cast<uint16_t>(1u << i);
  for (int a = 0; a < 4; ++a) {
    const int dataSet = DataSets[a]->currentIndex();
    const int reference = References[a]->currentIndex();
    built.Alarm[a].DataSet = dataSet < 0 ? kNoSelection : static_cast<uint16_t>(dataSet);
    built.Alarm[a].Reference = reference < 0 ? kNoSelection : static_cast<uint16_t>(reference);
  }
  block = built;
  return true;
}

void TAlarmForm::SetButtonsEnabled(bool enabled) {
  for (QPushButton* b : {Button3, Button1, Button2}) b->setEnabled(enabled);
}

void TAlarmForm::Button1Click() {
  SetButtonsEnabled(false);
  SeSkinStatusBar1->SetText("Data is being transferred to the instrument.");
  SeSkinStatusBar1->repaint();
  AlarmBlockData block{};
  QString wrong;
  // The whole block is built before anything is sent: a limit that is not a number sends
  // nothing and says which box it is.
  if (!BlockFromControls(block, wrong)) {
    SeSkinStatusBar1->SetText(wrong);
    SetButtonsEnabled(true);
    ShowMessage(wrong + ". Nothing has been sent.");
    return;
  }
  AlarmBlock = block;
  uint8_t data[kMaxBlockBytes] = {};
  std::memcpy(data, &AlarmBlock, kAlarmBlockSize);
  if (SendWriteBlock(SlaveAddress, kRegisterAlarms, data, kAlarmBlockSize)) {
    WriteWait->Arm();
  } else {
    SeSkinStatusBar1->SetText(kNotAcknowledgedText);
  }
  SetButtonsEnabled(true);
}

void TAlarmForm::Button2Click() {
  close();
}
