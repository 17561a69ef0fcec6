#include "config/TCalibrateForm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <cmath>

#include "display/ConfigBlocks.h"
#include "display/ValueFormat.h"
#include "link/Frames.h"
#include "link/LinkState.h"
#include "link/SamplingControl.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"

namespace {

const char* const kVoltageReferences[4][2] = {
    {"500", "500.05"}, {"220", "220.05"}, {"110", "110.05"}, {"40", "40.005"}};
const char* const kCurrentReferences[4][2] = {
    {"8A", "8"}, {"3A", "3"}, {"1A", "1"}, {"0.15A", "0.15"}};
const char* const kRequestFailed = "请求读失败，仪器和电脑还没有连接。";
const char* const kSyncFailed = "与仪器数据同步失败，仪器已经关闭或和电脑还没有正常连接。";

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

}  // namespace

double CalibrationNumber(const QString& text) {
  if (text.isEmpty()) return 0.0;
  static const QRegularExpression form("^-?([0-9]+\\.?[0-9]*|\\.[0-9]+)$");
  const double value = text.toDouble();
  if (!form.match(text).hasMatch() || !std::isfinite(value) || std::fabs(value) > 3.4e38)
    throw EConvertError(QString("'%1' is not a valid floating point value").arg(text));
  return value;
}

TCalibrateForm::TCalibrateForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TCalibrateForm");
  setWindowTitle("CalibrateForm");
  resize(659, 422);
  // Only digits, the minus sign and the point can be typed.
  auto* keys = new QRegularExpressionValidator(QRegularExpression("[0-9.\\-]*"), this);
  auto edit = [&](QWidget* in, const QString& name, QRect at, const char* text = "0") {
    auto* e = new QLineEdit(text, in);
    e->setObjectName(name);
    e->setGeometry(at);
    e->setValidator(keys);
    return e;
  };
  auto button = [&](QWidget* in, const QString& name, const QString& text, QRect at) {
    auto* b = new QPushButton(text, in);
    b->setObjectName(name);
    b->setGeometry(at);
    return b;
  };

  const int voltageButton[3] = {1, 17, 29}, currentButton[3] = {2, 18, 30};
  const int referenceFirst[3] = {9, 21, 33};
  for (int c = 0; c < 3; ++c) {
    auto* group = new QGroupBox(Utf8("校准设置"), this);
    group->setGeometry(8, 8 + c * 96, 400, 90);
    (new QLabel(Utf8("电压：  "), group))->move(10, 24);
    VoltageEdits[c] = edit(group, QString("Edit%1").arg(2 * c + 1), {60, 20, 70, 22});
    VoltageButtons[c] = button(group, QString("SeSkinButton%1").arg(voltageButton[c]), Utf8("校准"),
                               {134, 20, 44, 22});
    for (int r = 0; r < 4; ++r) {
      VoltageReferenceButtons[c][r] =
          button(group, QString("SeSkinButton%1").arg(referenceFirst[c] + r),
                 kVoltageReferences[r][0], {184 + r * 52, 20, 48, 22});
      connect(VoltageReferenceButtons[c][r], &QPushButton::clicked, this, [this, c, r] {
        VoltageEdits[c]->setText(kVoltageReferences[r][1]);
        RunHandler([this, c] { VoltageCalibrate(c); });
      });
    }
    (new QLabel(Utf8("电流：  "), group))->move(10, 58);
    CurrentEdits[c] = edit(group, QString("Edit%1").arg(2 * c + 2), {60, 54, 70, 22});
    CurrentButtons[c] = button(group, QString("SeSkinButton%1").arg(currentButton[c]), Utf8("校准"),
                               {134, 54, 44, 22});
    if (c == 0) {
      for (int r = 0; r < 4; ++r) {
        CurrentReferenceButtons[r] = button(group, QString("SeSkinButton%1").arg(13 + r),
                                            kCurrentReferences[r][0], {184 + r * 52, 54, 48, 22});
        connect(CurrentReferenceButtons[r], &QPushButton::clicked, this, [this, r] {
          CurrentEdits[0]->setText(kCurrentReferences[r][1]);
          RunHandler([this] { CurrentCalibrate(0); });
        });
      }
    } else {
      CopyButtons[c - 1] = button(group, QString("SeSkinButton%1").arg(c == 1 ? 28 : 40),
                                  Utf8("复制"), {184, 54, 48, 22});
      ConnectHandler(CopyButtons[c - 1], &QPushButton::clicked, this,
                     [this, c] { CopyCurrent(c); });
    }
    ConnectHandler(VoltageButtons[c], &QPushButton::clicked, this,
                   [this, c] { VoltageCalibrate(c); });
    ConnectHandler(CurrentButtons[c], &QPushButton::clicked, this,
                   [this, c] { CurrentCalibrate(c); });
  }
  (new QLabel(Utf8("电流倍数：  "), this))->move(16, 304);
  Edit13 = edit(this, "Edit13", {100, 300, 60, 22}, "1");

  auto* phase = new QGroupBox(Utf8(" 电流相位校准 "), this);
  phase->setGeometry(414, 8, 237, 290);
  const char* rows[6] = {"Ch1窄频： ", "Ch1宽频： ", "Ch2窄频： ",
                         "Ch2宽频： ", "Ch3窄频： ", "Ch3宽频： "};
  for (int r = 0; r < 6; ++r) {
    const int y = 22 + r * 44;
    (new QLabel(Utf8(rows[r]), phase))->move(6, y + 4);
    PhaseEdits[r] = edit(phase, QString("Edit%1").arg(7 + r), {70, y, 60, 22});
    PhaseWriteButtons[r] =
        button(phase, QString("Button%1").arg(2 + r), Utf8("写"), {134, y, 30, 22});
    PhaseReadButtons[r] =
        button(phase, QString("Button%1").arg(8 + r), Utf8("读"), {168, y, 30, 22});
    StepDownButtons[r] =
        button(phase, QString("SeSkinButton%1").arg(41 + r), "-0.1", {70, y + 22, 40, 18});
    StepUpButtons[r] =
        button(phase, QString("SeSkinButton%1").arg(47 + r), "+0.1", {112, y + 22, 40, 18});
    ConnectHandler(PhaseWriteButtons[r], &QPushButton::clicked, this, [this, r] { PhaseWrite(r); });
    ConnectHandler(PhaseReadButtons[r], &QPushButton::clicked, this, [this, r] { PhaseRead(r); });
    ConnectHandler(StepDownButtons[r], &QPushButton::clicked, this,
                   [this, r] { PhaseStep(r, -0.1); });
    ConnectHandler(StepUpButtons[r], &QPushButton::clicked, this, [this, r] { PhaseStep(r, 0.1); });
  }

  Button1 = button(this, "Button1", Utf8("开锁"), {16, 340, 70, 26});
  SeSkinButton3 = button(this, "SeSkinButton3", Utf8("窄频"), {96, 340, 70, 26});
  SeSkinButton4 = button(this, "SeSkinButton4", Utf8("宽频"), {176, 340, 70, 26});
  Button14 = button(this, "Button14", Utf8("单次读"), {414, 340, 70, 26});
  Button15 = button(this, "Button15", Utf8("连续读"), {494, 340, 70, 26});
  Button16 = button(this, "Button16", Utf8("停止"), {574, 340, 70, 26});
  ConnectHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  ConnectHandler(SeSkinButton3, &QPushButton::clicked, this, [this] { BandClick(0); });
  ConnectHandler(SeSkinButton4, &QPushButton::clicked, this, [this] { BandClick(1); });
  ConnectHandler(Button14, &QPushButton::clicked, this, [this] {
    if (sampling_) sampling_->SeSkinSpeedButton7Click();
  });
  ConnectHandler(Button15, &QPushButton::clicked, this, [this] {
    if (sampling_) sampling_->SeSkinButton4Click();
  });
  ConnectHandler(Button16, &QPushButton::clicked, this, [this] {
    if (sampling_) sampling_->SeSkinSpeedButton9Click();
  });

  TemperatureGroup = new QGroupBox(Utf8("温度选项"), this);
  TemperatureGroup->setGeometry(260, 330, 140, 80);
  const char* temperature[4] = {"校准常温", "校准低温", "关闭温度补偿", "开启温度补偿"};
  for (int t = 0; t < 4; ++t) {
    TemperatureButtons[t] = button(TemperatureGroup, QString("SeSkinButton%1").arg(5 + t),
                                   Utf8(temperature[t]), {4, 14 + t * 16, 130, 16});
    ConnectHandler(TemperatureButtons[t], &QPushButton::clicked, this,
                   [this, t] { TemperatureClick(static_cast<uint8_t>(t)); });
  }
  TemperatureGroup->hide();
}

void TCalibrateForm::VoltageCalibrate(int channel) {
  const double value = CalibrationNumber(VoltageEdits[channel]->text());
  SendWriteFloat(SlaveAddress, kVoltageReferenceRegisters[channel], static_cast<float>(value));
}

void TCalibrateForm::CurrentCalibrate(int channel) {
  // Both boxes are read before anything is sent.
  double multiplier = CalibrationNumber(Edit13->text());
  if (multiplier == 0) multiplier = 1;
  const double value = CalibrationNumber(CurrentEdits[channel]->text()) * multiplier;
  SendWriteFloat(SlaveAddress, kCurrentReferenceRegisters[channel], static_cast<float>(value));
}

void TCalibrateForm::CopyCurrent(int channel) {
  CurrentEdits[channel]->setText(CurrentEdits[0]->text());
}

void TCalibrateForm::PhaseWrite(int row) {
  const float value = static_cast<float>(CalibrationNumber(PhaseEdits[row]->text()));
  if (value > 30) {
    ShowMessage(Utf8("  角差不能大于30度，数据无效!    "));
    return;
  }
  if (value < -30) {
    ShowMessage(Utf8("  角差不能小于-30度，数据无效!    "));
    return;
  }
  SendWriteFloat(SlaveAddress, kPhaseCorrectionRegisters[row], value);
}

void TCalibrateForm::PhaseStep(int row, double step) {
  const double value = CalibrationNumber(PhaseEdits[row]->text()) + step;
  PhaseEdits[row]->setText(GeneralText(value));
  PhaseWrite(row);
}

void TCalibrateForm::PhaseRead(int row) {
  if (!SendReadRequest(SlaveAddress, kPhaseCorrectionRegisters[row], 2))
    ShowMessage(Utf8(kSyncFailed));
}

void TCalibrateForm::SetCalibrationEditText(int edit, const QString& text) {
  if (edit >= 7 && edit <= 12) PhaseEdits[edit - 7]->setText(text);
}

void TCalibrateForm::Button1Click() {
  if (!SendWriteCommand(SlaveAddress, kUnlockRegister, kUnlockCommandByte))
    ShowMessage(Utf8(kRequestFailed));
}

void TCalibrateForm::BandClick(uint8_t band) {
  uint8_t data[kMaxBlockBytes] = {band};
  SendWriteBlock(SlaveAddress, kRegisterCalibrationMode, data, 1);
}

void TCalibrateForm::TemperatureClick(uint8_t command) {
  if (!SendWriteCommand(SlaveAddress, kTemperatureRegister, command))
    ShowMessage(Utf8(kRequestFailed));
}
