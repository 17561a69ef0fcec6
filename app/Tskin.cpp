#include "app/Tskin.h"

#include "app/TMainForm.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/SettingsKeys.h"

Tskin::Tskin(TMainForm* mainForm) : QDialog(mainForm), main_(mainForm) {
  setObjectName("Tskin");
  setWindowTitle("Style settings");
  setFixedSize(362, 391);
  RadioGroup1 = new RadioGroup(
      "Select Skin",
      {"WINDOWS system default", "Skin 1", "Skin 2", "Skin 3", "Skin 4", "Skin 5", "Skin 6"}, this);
  RadioGroup1->setGeometry(8, 8, 161, 169);
  RadioGroup1->SetItemIndex(1);
  RadioGroup3 =
      new RadioGroup(" Scale background line color ", {"Blue-green", "Yellow", "Light Gray"}, this);
  RadioGroup3->setGeometry(176, 8, 161, 81);
  RadioGroup2 = new RadioGroup("Background color ", {"Black", "White", "Gray"}, this);
  RadioGroup2->setGeometry(176, 96, 161, 81);
  RadioGroup4 = new RadioGroup(
      " Start the default page ",
      {"Channel 1", "Channel 2", "Channel 3", "Three-phase analysis", "Harmonic report"}, this);
  RadioGroup4->setGeometry(8, 184, 329, 129);
  Button1 = new QPushButton("Close", this);
  Button1->setGeometry(256, 320, 75, 25);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

  RadioGroup1->OnClick = [this] { RunHandler([this] { RadioGroup1Click(); }); };
  RadioGroup4->OnClick = [this] { RunHandler([this] { RadioGroup1Click(); }); };
  RadioGroup2->OnClick = [this] { RunHandler([this] { RadioGroup2Click(); }); };
  RadioGroup3->OnClick = [this] { RunHandler([this] { RadioGroup3Click(); }); };
}

QColor Tskin::BackgroundColour(int code) {
  static const QColor colours[3] = {QColor(0, 0, 0), QColor(255, 255, 255), QColor(238, 238, 238)};
  return code >= 0 && code < 3 ? colours[code] : QColor();
}

QColor Tskin::GridColour(int code) {
  static const QColor colours[3] = {QColor(0, 128, 128), QColor(239, 239, 0),
                                    QColor(170, 170, 170)};
  return code >= 0 && code < 3 ? colours[code] : QColor();
}

void Tskin::FormCreate() {
  const IniFile settings = SystemSettings();
  const int skin = settings.ReadInteger(settings::kSkinSet, settings::kSkin);
  if (skin >= 0 && skin <= 6) RadioGroup1->SetItemIndex(skin);
  const int background = settings.ReadInteger(settings::kWaveSet, settings::kWaveBackground);
  if (background >= 0 && background <= 2) RadioGroup2->SetItemIndex(background);
  const int grid = settings.ReadInteger(settings::kWaveSet, settings::kScaleColor);
  if (grid >= 0 && grid <= 2) RadioGroup3->SetItemIndex(grid);
  const int page = settings.ReadInteger(settings::kInit, settings::kPage);
  if (page >= 0 && page <= 4) {
    main_->SelectPage(page);
    RadioGroup4->SetItemIndex(page);
  }
}

void Tskin::RadioGroup1Click() {
  const IniFile settings = SystemSettings();
  const int skin = RadioGroup1->ItemIndex();
  if (skin >= 0) {
    main_->ApplySkin(skin);
    settings.WriteInteger(settings::kSkinSet, settings::kSkin, skin);
  }
  const int page = RadioGroup4->ItemIndex();
  if (page >= 0) settings.WriteInteger(settings::kInit, settings::kPage, page);
}

void Tskin::RadioGroup2Click() {
  const int code = RadioGroup2->ItemIndex();
  if (code < 0) return;
  main_->SetPlotBackground(BackgroundColour(code));
  SystemSettings().WriteInteger(settings::kWaveSet, settings::kWaveBackground, code);
  for (int channel = 1; channel <= 3; ++channel) main_->RefreshChannelPage(channel);
}

void Tskin::RadioGroup3Click() {
  const int code = RadioGroup3->ItemIndex();
  if (code < 0) return;
  main_->SetPlotGrid(GridColour(code));
  SystemSettings().WriteInteger(settings::kWaveSet, settings::kScaleColor, code);
  for (int channel = 1; channel <= 3; ++channel) main_->RefreshChannelPage(channel);
}
