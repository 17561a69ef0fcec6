// The three configuration windows against a recording port: what they show of a block,
// and the frames they send.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <cstring>
#include <vector>

#include "config/TAlarmForm.h"
#include "config/TCalibrateForm.h"
#include "config/TInputNetSet.h"
#include "display/ConfigBlocks.h"
#include "display/ThreePhaseHost.h"
#include "link/LinkState.h"
#include "platform/MessageBox.h"
#include "platform/RadioGroup.h"
#include "support/FakeLinkPort.h"
#include "support/PtyPair.h"

namespace {

class ConfigWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLinkState();
    previous = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
  }
  void TearDown() override {
    SetMessageBoxHandler(previous);
    ResetLinkState();
  }
  // The register and the data of a write frame.
  static uint16_t Register(const std::vector<uint8_t>& frame) {
    return static_cast<uint16_t>(frame[2] << 8 | frame[3]);
  }
  static std::vector<uint8_t> Data(const std::vector<uint8_t>& frame) {
    return std::vector<uint8_t>(frame.begin() + 7, frame.end() - 2);
  }
  static float FloatOf(const std::vector<uint8_t>& frame) {
    float value;
    std::memcpy(&value, frame.data() + 7, sizeof value);
    return value;
  }

  FakeLinkPort port;
  ScopedLinkPort scoped{&port};
  QStringList boxes;
  MessageBoxHandler previous;
};

struct FakeHost : ThreePhaseHost {
  bool visible[4] = {true, true, true, true};
  int selected = 0;
  QString status[6];
  void SetStatusText(int panel, const QString& text) override { status[panel] = text; }
  bool IsPageVisible(int page) const override { return visible[page]; }
  void SetPageVisible(int page, bool on) override { visible[page] = on; }
  void SelectPage(int page) override { selected = page; }
};

const uint8_t kSetupPayload[10] = {0x0A, 0x00, 0x01, 0x03, 0x0F, 0x01, 0x01, 0x04, 0x04, 0x1E};

TEST_F(ConfigWindows, TheSettingsBlockIsShownAndSentBackUnchanged) {
  TInputNetSet form;
  std::memcpy(&InstrumentSetup, kSetupPayload, sizeof kSetupPayload);
  form.SeSkinRadioGroup1->SetItemIndex(0);  // so that the answer changes the wiring
  form.ShowInstrumentSetup();
  EXPECT_EQ(form.SeSkinComboBox1->currentText(), "10");
  EXPECT_TRUE(form.SeSkinCheckBox1->isChecked());
  EXPECT_EQ(form.SeSkinComboBox2->currentText(), "Broadband");
  EXPECT_EQ(form.SeSkinRadioGroup1->ItemIndex(), 3);
  EXPECT_EQ(form.SeSkinTrackBar1->value(), 15);
  EXPECT_EQ(form.Label1->text(), "15");
  EXPECT_EQ(form.SeSkinComboBox3->currentText(), "Signal fundamental");
  EXPECT_EQ(form.SeSkinComboBox5->currentText(), "MANUAL");
  EXPECT_EQ(form.SeSkinComboBox6->currentText(), "4");
  EXPECT_EQ(form.SeSkinComboBox7->currentText(), "4");
  EXPECT_EQ(form.SeSkinComboBox4->currentText(), "30");
  EXPECT_EQ(form.SeSkinStatusBar1->Text(), "Has been synchronized with the instrument data");

  form.SeSkinButton1->click();
  ASSERT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(Register(port.writes[0]), kRegisterSetup);
  EXPECT_EQ(Data(port.writes[0]), std::vector<uint8_t>(kSetupPayload, kSetupPayload + 10));

  // AUTO hides the ranges but still sends them.
  form.SeSkinComboBox5->setCurrentIndex(0);
  EXPECT_FALSE(form.SeSkinComboBox6->isVisibleTo(&form));
  EXPECT_FALSE(form.SeSkinLabel4->isVisibleTo(&form));
  const InstrumentSetupData automatic = form.SetupFromControls();
  EXPECT_EQ(automatic.RangeMode, 0);
  EXPECT_EQ(automatic.VoltageRange, 4);
  EXPECT_EQ(automatic.CurrentRange, 4);
}

TEST_F(ConfigWindows, AWriteWithoutAcknowledgementIsReportedAsFailed) {
  TInputNetSet form;
  form.WriteWait->SetTimeout(50);
  form.SeSkinButton1->click();
  EXPECT_EQ(form.SeSkinStatusBar1->Text(), "Is sending data to the instrument ...");
  ASSERT_TRUE(WaitUntil([&] { return form.SeSkinStatusBar1->Text() == kNotAcknowledgedText; }));

  // An acknowledgement in time is the success text.
  form.WriteWait->SetTimeout(60000);
  form.SeSkinButton1->click();
  form.SetInstrumentStatusText(kSetupWrittenText);
  EXPECT_FALSE(form.WriteWait->Waiting());
  EXPECT_EQ(form.SeSkinStatusBar1->Text(), kSetupWrittenText);

  // With the port closed nothing is sent, and that is said at once.
  port.open = false;
  form.SeSkinButton1->click();
  EXPECT_EQ(form.SeSkinStatusBar1->Text(), kNotAcknowledgedText);
}

TEST_F(ConfigWindows, TheWiringDecidesThePagesAndTheWiringText) {
  TInputNetSet form;
  FakeHost host;
  form.SetHost(&host);
  struct Case {
    int item;
    int selectedBefore;
    bool visible[4];
    int selected;
    const char* status;
  };
  const Case cases[] = {
      {0, 3, {true, true, true, false}, 0, "Wiring:Single-phase(1P2W)"},
      {1, 2, {true, true, false, true}, 3, "Wiring:3P3W)"},
      {2, 0, {true, true, true, true}, 3, "Wiring:3P3W(3VT3CT)"},
      {3, 1, {true, true, true, true}, 3, "Wiring:3P4W"},
  };
  for (const Case& c : cases) {
    host = FakeHost{};
    host.selected = c.selectedBefore;
    form.SeSkinRadioGroup1->SetItemIndex(-1);
    form.SeSkinRadioGroup1->SetItemIndex(c.item);
    for (int p = 0; p < 4; ++p) EXPECT_EQ(host.visible[p], c.visible[p]) << c.item << " page " << p;
    EXPECT_EQ(host.selected, c.selected) << c.item;
    EXPECT_EQ(host.status[2], c.status);
    EXPECT_FALSE(form.Image1->pixmap().isNull()) << "the wiring picture of item " << c.item;
    EXPECT_EQ(form.Image1->pixmap().size(), QSize(257, 169));
  }
}

AlarmBlockData WorkedAlarmBlock() {
  AlarmBlockData block{};
  block.AlarmMode = 1;
  block.EnableBits = 0x0005;
  block.Alarm[0] = {3, 9};
  block.Alarm[1] = {0, 0};
  block.Alarm[2] = {1, 15};
  block.Alarm[3] = {2, 32};
  block.Limit[0] = {2.5f, 0};
  block.Limit[1] = {250.25f, 10};
  block.Limit[2] = {6000, 0.5f};
  block.Limit[3] = {1, 0};
  return block;
}

TEST_F(ConfigWindows, TheAlarmBlockRoundTripsByteForByte) {
  TAlarmForm form;
  AlarmBlock = WorkedAlarmBlock();
  form.FormCreate();
  EXPECT_TRUE(form.SeSkinRadioButton2->isChecked());
  EXPECT_TRUE(form.Enables[0]->isChecked());
  EXPECT_FALSE(form.Enables[1]->isChecked());
  EXPECT_TRUE(form.Enables[2]->isChecked());
  EXPECT_EQ(form.DataSets[0]->currentText(), "Three-phase Analysis");
  EXPECT_EQ(form.References[0]->currentText(), "Voltage Unbalance Factor");
  EXPECT_EQ(form.References[0]->count(), 16);
  EXPECT_EQ(form.References[3]->currentText(), "Power Factor");
  EXPECT_EQ(form.Limits[0]->text(), "2.5");

  form.Button1->click();
  ASSERT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(Register(port.writes[0]), kRegisterAlarms);
  const AlarmBlockData worked = WorkedAlarmBlock();
  const auto* bytes = reinterpret_cast<const uint8_t*>(&worked);
  EXPECT_EQ(Data(port.writes[0]), std::vector<uint8_t>(bytes, bytes + kAlarmBlockSize));
  // Little-endian words and floats inside the block.
  EXPECT_EQ(Data(port.writes[0])[2], 0x05);
  EXPECT_EQ(Data(port.writes[0])[3], 0x00);
  EXPECT_EQ(form.SeSkinStatusBar1->Text(), "Data is being transferred to the instrument.");
  form.SetAlarmStatusText(kAlarmsWrittenText);
  EXPECT_FALSE(form.WriteWait->Waiting());
}

TEST_F(ConfigWindows, AlarmLimitsAreShownWithFourDecimals) {
  struct Case {
    float limit;
    const char* text;
  };
  const Case cases[] = {{0.12345f, "0.1235"}, {1.00005f, "1"},     {300.0f, "300"},
                        {0.1f, "0.1"},        {6000.5f, "6000.5"}, {0.00004f, "0"}};
  for (const Case& c : cases) EXPECT_EQ(AlarmLimitText(c.limit), c.text) << c.limit;
}

TEST_F(ConfigWindows, AnUnselectedReferenceIsSentAs65535AndAnEmptyLimitAsZero) {
  TAlarmForm form;
  form.DataSets[1]->setCurrentIndex(3);
  form.DataSetChange(1);
  EXPECT_EQ(form.References[1]->currentIndex(), -1);
  form.DataSets[2]->setCurrentIndex(1);
  form.DataSetChange(2);
  EXPECT_EQ(form.References[2]->currentText(), "Voltage (TRMS)");
  form.Limits[0]->setText("");
  AlarmBlockData block{};
  QString wrong;
  ASSERT_TRUE(form.BlockFromControls(block, wrong));
  EXPECT_EQ(block.Alarm[1].Reference, 65535);
  EXPECT_EQ(block.Alarm[1].DataSet, 3);
  EXPECT_EQ(block.Limit[0].Upper, 0.0f);
}

TEST_F(ConfigWindows, ALimitThatIsNotANumberSendsNothingAndNamesTheBox) {
  TAlarmForm form;
  AlarmBlock = WorkedAlarmBlock();
  form.FormCreate();
  const AlarmBlockData before = AlarmBlock;
  form.Limits[3]->setText("1.2.3");
  form.Button1->click();
  EXPECT_TRUE(port.writes.empty());
  EXPECT_TRUE(form.SeSkinStatusBar1->Text().contains("AL2 lower limit"));
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_TRUE(boxes[0].contains("\"1.2.3\" is not a number"));
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_TRUE(form.Button3->isEnabled());
  EXPECT_EQ(std::memcmp(&before, &AlarmBlock, sizeof before), 0);  // not half rebuilt
}

TEST_F(ConfigWindows, CalibrationSendsTheReferencesTimesTheMultiplier) {
  TCalibrateForm form;
  struct Case {
    const char* multiplier;
    float sent;
  };
  for (const Case& c : {Case{"2", 6.0f}, Case{"", 3.0f}, Case{"0", 3.0f}}) {
    port.writes.clear();
    form.Edit13->setText(c.multiplier);
    form.CurrentReferenceButtons[1]->click();  // "3A"
    ASSERT_EQ(port.writes.size(), 1u) << c.multiplier;
    EXPECT_EQ(Register(port.writes[0]), 806);
    EXPECT_EQ(FloatOf(port.writes[0]), c.sent) << c.multiplier;
  }
  port.writes.clear();
  form.VoltageReferenceButtons[2][3]->click();  // "40" on channel 3
  EXPECT_EQ(form.VoltageEdits[2]->text(), "40.005");
  ASSERT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(Register(port.writes[0]), 831);
  EXPECT_EQ(FloatOf(port.writes[0]), 40.005f);

  port.writes.clear();
  form.CurrentEdits[0]->setText("0.15");
  form.CopyButtons[0]->click();
  EXPECT_EQ(form.CurrentEdits[1]->text(), "0.15");
  EXPECT_TRUE(port.writes.empty());

  // A box that is not a number: the conversion error, nothing sent.
  form.CurrentEdits[1]->setText("1-2");
  form.CurrentButtons[1]->click();
  EXPECT_TRUE(port.writes.empty());
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_TRUE(boxes[0].contains("'1-2' is not a valid floating point value"));
}

TEST_F(ConfigWindows, PhaseCorrectionsBeyond30DegreesAreRefused) {
  TCalibrateForm form;
  form.PhaseEdits[2]->setText("30");
  form.PhaseWriteButtons[2]->click();
  ASSERT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(Register(port.writes[0]), 829);
  EXPECT_EQ(FloatOf(port.writes[0]), 30.0f);

  port.writes.clear();
  form.PhaseEdits[0]->setText("30.1");
  form.PhaseWriteButtons[0]->click();
  form.PhaseEdits[1]->setText("-30.5");
  form.PhaseWriteButtons[1]->click();
  form.PhaseEdits[5]->setText("29.95");
  form.StepUpButtons[5]->click();
  EXPECT_EQ(form.PhaseEdits[5]->text(), "30.05");
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(boxes, (QStringList{QString::fromUtf8("  角差不能大于30度，数据无效!    "),
                                QString::fromUtf8("  角差不能小于-30度，数据无效!    "),
                                QString::fromUtf8("  角差不能大于30度，数据无效!    ")}));

  form.StepDownButtons[5]->click();  // 29.95 again, within the range
  ASSERT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(Register(port.writes[0]), 844);

  // Unlock, band and read requests.
  port.writes.clear();
  form.Button1->click();
  form.SeSkinButton4->click();
  form.PhaseReadButtons[2]->click();
  ASSERT_EQ(port.writes.size(), 3u);
  EXPECT_EQ(Register(port.writes[0]), 801);
  EXPECT_EQ(port.writes[0][7], 0xC6);
  EXPECT_EQ(Register(port.writes[1]), 30);
  EXPECT_EQ(Data(port.writes[1]), std::vector<uint8_t>{1});
  EXPECT_EQ(port.writes[2][1], 0x03);
  EXPECT_EQ(Register(port.writes[2]), 829);
  form.SetCalibrationEditText(9, "1.5");
  EXPECT_EQ(form.PhaseEdits[2]->text(), "1.5");
}

}  // namespace
