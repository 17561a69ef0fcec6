#include "record/TRecSetForm.h"

#include <QLabel>

#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/SettingsKeys.h"
#include "record/RecordParameters.h"
#include "record/TRecordForm.h"

namespace {

// Selects `index` when the list has it, else nothing.
void SelectIndex(QComboBox* list, int index) {
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

}  // namespace

TRecSetForm::TRecSetForm(TRecordForm* record, QWidget* parent) : QDialog(parent), record_(record) {
  setObjectName("TRecSetForm");
  setWindowTitle("Record setting");
  setFixedSize(415, 282);

  ParameterGroup = new QGroupBox(" Record parameter selection ", this);
  ParameterGroup->setGeometry(16, 16, 201, 217);
  const char* const tags[kRecordChannels] = {"ReA", "ReB", "ReC", "ReD ", "ReE", "ReF"};
  QStringList parameters;
  for (const char* text : RecordParameterList) parameters << QString::fromLatin1(text);
  for (int c = 0; c < kRecordChannels; ++c) {
    const int y = 28 + 32 * c;
    auto* label = new QLabel(tags[c], ParameterGroup);
    label->move(8, y);
    ChannelLists[c] = new QComboBox(ParameterGroup);
    ChannelLists[c]->setObjectName(QString("ComboBox%1").arg(3 + c));
    ChannelLists[c]->addItems(parameters);
    ChannelLists[c]->setGeometry(48, y - 4, 145, 22);
    ChannelLists[c]->setCurrentIndex(c);
  }

  auto* stepGroup = new QGroupBox(" Sampling step ", this);
  stepGroup->setGeometry(224, 16, 169, 57);
  ComboBox2 = new QComboBox(stepGroup);
  ComboBox2->setObjectName("ComboBox2");
  ComboBox2->addItems(
      {"1 S", "2 S", "3 S", "4 S", "5 S", "6 S", "7 S", "8 S", "9 S", "10 S", "15 S"});
  ComboBox2->setGeometry(8, 22, 153, 22);
  ComboBox2->setCurrentIndex(0);

  auto* saveGroup = new QGroupBox("Save interval time", this);
  saveGroup->setGeometry(224, 80, 169, 57);
  ComboBox1 = new QComboBox(saveGroup);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->addItems({"10 S", "15 S", "20 S", "25 S", "30 S", "60 S"});
  ComboBox1->setGeometry(8, 22, 153, 22);
  ComboBox1->setCurrentIndex(0);

  auto* temperatureGroup = new QGroupBox("Temperature  ", this);
  temperatureGroup->setGeometry(224, 144, 169, 57);
  temperatureGroup->setEnabled(false);
  ComboBox9 = new QComboBox(temperatureGroup);
  ComboBox9->setObjectName("ComboBox9");
  ComboBox9->setGeometry(8, 22, 153, 22);
  ComboBox9->setPlaceholderText("Lack  this feature");
  ComboBox9->setEnabled(false);

  EnterButton = new QPushButton("Enter", this);
  EnterButton->setGeometry(224, 208, 75, 25);
  CancelButton = new QPushButton("Cancel", this);
  CancelButton->setGeometry(309, 208, 75, 25);
  connect(EnterButton, &QPushButton::clicked, this,
          [this] { RunHandler([this] { EnterClick(); }); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { CancelClick(); });
}

void TRecSetForm::FormCreate() {
  const IniFile settings = SystemSettings();
  for (int c = 0; c < kRecordChannels; ++c) {
    SelectIndex(ChannelLists[c],
                settings.ReadInteger(settings::kRecordSet, settings::kRecordChannel[c]));
  }
  SelectIndex(ComboBox2, settings.ReadInteger(settings::kRecordSet, settings::kSamplingStep));
  SelectIndex(ComboBox1, settings.ReadInteger(settings::kRecordSet, settings::kSaveStep));
}

void TRecSetForm::EnterClick() {
  const IniFile settings = SystemSettings();
  int selection[kRecordChannels];
  for (int c = 0; c < kRecordChannels; ++c) {
    selection[c] = ChannelLists[c]->currentIndex();
    settings.WriteInteger(settings::kRecordSet, settings::kRecordChannel[c], selection[c]);
  }
  const int step = ComboBox2->currentIndex();
  const int save = ComboBox1->currentIndex();
  settings.WriteInteger(settings::kRecordSet, settings::kSamplingStep, step);
  settings.WriteInteger(settings::kRecordSet, settings::kSaveStep, save);
  settings.WriteInteger(settings::kRecordSet, settings::kTemperatureInput,
                        ComboBox9->currentIndex());
  if (record_) {
    if (SaveIntervalMs(save) > 0)
      record_->SetSaveInterval(SaveIntervalMs(save), SaveSettingText(save));
    if (StepIntervalMs(step) > 0)
      record_->SetStepInterval(StepIntervalMs(step), StepSettingText(step));
    record_->SetSelection(selection);
    record_->CaptionChannels(selection);
  }
  accept();
}

void TRecSetForm::CancelClick() {
  reject();
}
