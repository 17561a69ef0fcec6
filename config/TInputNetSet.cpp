#include "config/TInputNetSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <cstring>

#include "display/ConfigBlocks.h"
#include "display/ThreePhaseHost.h"
#include "link/Frames.h"
#include "link/LinkState.h"
#include "link/SamplingControl.h"
#include "platform/DataFolders.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "platform/RadioGroup.h"

namespace {

QStringList Numbers(int first, int last) {
  QStringList items;
  for (int i = first; i <= last; ++i) items << QString::number(i);
  return items;
}

// Sets the item `index`, or none when the byte names no item.
void SelectItem(QComboBox* box, int index) {
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

// The item index as a byte; a box without a selection gives `fallback`.
uint8_t ItemByte(const QComboBox* box, int offset, uint8_t fallback) {
  const int index = box->currentIndex();
  return index < 0 ? fallback : static_cast<uint8_t>(index + offset);
}

struct Wiring {
  const char* picture;
  const char* status;
};
const Wiring kWirings[4] = {
    {"PenData/Pic/1P2W.jpg", "Wiring:Single-phase(1P2W)"},
    {"PenData/Pic/3P3W.jpg", "Wiring:3P3W)"},
    {"PenData/Pic/3P3W(3V3A).jpg", "Wiring:3P3W(3VT3CT)"},
    {"PenData/Pic/3P4W.jpg", "Wiring:3P4W"},
};

}  // namespace

TInputNetSet::TInputNetSet(QWidget* parent) : QDialog(parent) {
  setObjectName("TInputNetSet");
  setWindowTitle("Instrument settings");
  resize(588, 565);
  auto group = [&](const QString& caption, const char* name, QRect at) {
    auto* g = new QGroupBox(caption, this);
    g->setObjectName(name);
    g->setGeometry(at);
    return g;
  };
  auto combo = [&](QWidget* in, const char* name, const QStringList& items, QRect at) {
    auto* c = new QComboBox(in);
    c->setObjectName(name);
    c->addItems(items);
    c->setGeometry(at);
    return c;
  };
  auto label = [&](QWidget* in, const QString& text, QPoint at) {
    auto* l = new QLabel(text, in);
    l->move(at);
    return l;
  };

  SeSkinGroupBox1 = group("Input wiring", "SeSkinGroupBox1", {8, 8, 572, 200});
  Image1 = new QLabel(SeSkinGroupBox1);
  Image1->setObjectName("Image1");
  Image1->setGeometry(10, 20, 257, 169);
  SeSkinRadioGroup1 = new RadioGroup(
      "Select wiring",
      {"Single-phase mode (1P2W connection)", "Three-phase three-wire (3P3W binary connection)",
       "Three-phase three-wire (3P3W the Ternary connection)",
       "Three-phase four-wire (3P4W the Ternary connection)"},
      SeSkinGroupBox1);
  SeSkinRadioGroup1->setObjectName("SeSkinRadioGroup1");
  SeSkinRadioGroup1->setGeometry(276, 20, 288, 169);
  // The long item texts fit beside the picture in the narrow face.
  QFont narrow("Liberation Sans Narrow");
  narrow.setPixelSize(12);
  SeSkinRadioGroup1->setFont(narrow);

  auto* filter = group("Filter", "SeSkinGroupBox2", {8, 216, 284, 60});
  label(filter, "Filter coefficients:", {10, 28});
  SeSkinComboBox1 = combo(filter, "SeSkinComboBox1", Numbers(1, 10), {130, 24, 60, 22});
  SeSkinCheckBox1 = new QCheckBox(QString::fromUtf8("开启"), filter);
  SeSkinCheckBox1->setObjectName("SeSkinCheckBox1");
  SeSkinCheckBox1->move(204, 26);

  auto* gray = group(" Grayscale ", "SeSkinGroupBox4", {300, 216, 280, 60});
  SeSkinTrackBar1 = new QSlider(Qt::Horizontal, gray);
  SeSkinTrackBar1->setObjectName("SeSkinTrackBar1");
  SeSkinTrackBar1->setRange(0, 20);
  SeSkinTrackBar1->setGeometry(10, 24, 220, 24);
  Label1 = label(gray, "", {240, 28});
  Label1->setObjectName("Label1");
  Label1->setFixedWidth(30);

  auto* range = group(" Range setting ", "SeSkinGroupBox6", {8, 284, 284, 120});
  label(range, "Mode:", {10, 28});
  SeSkinComboBox5 = combo(range, "SeSkinComboBox5", {"AUTO", "MANUAL"}, {130, 24, 100, 22});
  SeSkinLabel3 = label(range, "Voltage range:", {10, 58});
  SeSkinLabel3->setObjectName("SeSkinLabel3");
  SeSkinComboBox6 = combo(range, "SeSkinComboBox6", Numbers(1, 4), {130, 54, 60, 22});
  SeSkinLabel4 = label(range, "Current range:", {10, 88});
  SeSkinLabel4->setObjectName("SeSkinLabel4");
  SeSkinComboBox7 = combo(range, "SeSkinComboBox7", Numbers(1, 4), {130, 84, 60, 22});

  auto* demand = group(" Demand window length ", "SeSkinGroupBox7", {300, 284, 280, 60});
  SeSkinComboBox4 = combo(demand, "SeSkinComboBox4", Numbers(1, 30), {10, 24, 70, 22});
  label(demand, QString::fromUtf8("秒"), {90, 28});

  auto* bandwidth = group("Current bandwidth", "SeSkinGroupBox3", {300, 352, 280, 52});
  SeSkinComboBox2 =
      combo(bandwidth, "SeSkinComboBox2", {"Narrowband (5KHz)", "Broadband"}, {10, 22, 200, 22});
  auto* trigger = group("Phase trigger", "SeSkinGroupBox5", {8, 412, 284, 52});
  SeSkinComboBox3 = combo(trigger, "SeSkinComboBox3",
                          {"Signal zero-crossing", "Signal fundamental"}, {10, 22, 200, 22});

  auto button = [&](const char* text, const char* name, int left) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setGeometry(left, 480, 170, 30);
    return b;
  };
  SeSkinButton2 = button("Reading from instruments", "SeSkinButton2", 20);
  SeSkinButton1 = button("Save to instrument", "SeSkinButton1", 208);
  SeSkinButton3 = button("Exit", "SeSkinButton3", 396);
  SeSkinStatusBar1 = new StatusPanel(this);
  SeSkinStatusBar1->setObjectName("SeSkinStatusBar1");
  SeSkinStatusBar1->setGeometry(0, 541, 588, 24);
  WriteWait =
      new AcknowledgeWait([this] { SeSkinStatusBar1->SetText(kNotAcknowledgedText); }, this);

  // Design values.
  SeSkinComboBox1->setCurrentIndex(9);
  SeSkinCheckBox1->setChecked(false);
  SeSkinTrackBar1->setValue(15);
  Label1->setText("15");
  SeSkinComboBox5->setCurrentIndex(1);
  SeSkinComboBox6->setCurrentIndex(3);
  SeSkinComboBox7->setCurrentIndex(3);
  SeSkinComboBox4->setCurrentIndex(29);
  SeSkinComboBox2->setCurrentIndex(1);
  SeSkinComboBox3->setCurrentIndex(1);

  SeSkinRadioGroup1->OnClick = [this] { RunHandler([this] { SeSkinRadioGroup1Click(); }); };
  connect(SeSkinComboBox5, &QComboBox::currentIndexChanged, this,
          [this] { SeSkinComboBox5Change(); });
  connect(SeSkinTrackBar1, &QSlider::valueChanged, this, [this] { SeSkinTrackBar1Change(); });
  ConnectHandler(SeSkinButton2, &QPushButton::clicked, this, [this] { SeSkinButton2Click(); });
  ConnectHandler(SeSkinButton1, &QPushButton::clicked, this, [this] { SeSkinButton1Click(); });
  ConnectHandler(SeSkinButton3, &QPushButton::clicked, this, [this] { SeSkinButton3Click(); });
  // The design wiring is four-wire; creating the window applies it (without a host yet,
  // only the picture).
  SeSkinRadioGroup1->SetItemIndex(3);
}

void TInputNetSet::SeSkinButton2Click() {
  SeSkinStatusBar1->SetText("Is requesting the instrument data ...");
  if (!SendReadRequest(SlaveAddress, kRegisterSetup, kInstrumentSetupSize))
    ShowMessage(kSynchronizationFailedText);
  LastReadRegister = kRegisterSetup;
  LastReadCount = kInstrumentSetupSize;
}

void TInputNetSet::ShowInstrumentSetup() {
  const InstrumentSetupData& s = InstrumentSetup;
  SelectItem(SeSkinComboBox1, s.FilterCoefficient - 1);
  SeSkinCheckBox1->setChecked(s.FilterSwitch == 0);
  SelectItem(SeSkinComboBox2, s.CurrentBandwidth);
  // An unknown wiring leaves the choice as it is.
  if (s.InputWiring < SeSkinRadioGroup1->Count()) SeSkinRadioGroup1->SetItemIndex(s.InputWiring);
  SeSkinTrackBar1->setValue(s.Grayscale);
  SelectItem(SeSkinComboBox3, s.PhaseTrigger);
  SelectItem(SeSkinComboBox5, s.RangeMode);
  SelectItem(SeSkinComboBox6, s.VoltageRange - 1);
  SelectItem(SeSkinComboBox7, s.CurrentRange - 1);
  SelectItem(SeSkinComboBox4, s.DemandWindow - 1);
  SeSkinStatusBar1->SetText("Has been synchronized with the instrument data");
  SeSkinComboBox5Change();
}

void TInputNetSet::SetInstrumentStatusText(const QString& text) {
  WriteWait->Acknowledged();
  SeSkinStatusBar1->SetText(text);
}

InstrumentSetupData TInputNetSet::SetupFromControls() const {
  InstrumentSetupData s{};
  s.FilterCoefficient = ItemByte(SeSkinComboBox1, 1, 10);
  s.FilterSwitch = SeSkinCheckBox1->isChecked() ? 0 : 1;
  s.CurrentBandwidth = ItemByte(SeSkinComboBox2, 0, 1);
  s.InputWiring = static_cast<uint8_t>(std::max(0, SeSkinRadioGroup1->ItemIndex()));
  s.Grayscale = static_cast<uint8_t>(SeSkinTrackBar1->value());
  s.PhaseTrigger = ItemByte(SeSkinComboBox3, 0, 1);
  s.RangeMode = ItemByte(SeSkinComboBox5, 0, 1);
  s.VoltageRange = ItemByte(SeSkinComboBox6, 1, 4);
  s.CurrentRange = ItemByte(SeSkinComboBox7, 1, 4);
  s.DemandWindow = ItemByte(SeSkinComboBox4, 1, 30);
  return s;
}

void TInputNetSet::SeSkinButton1Click() {
  SeSkinStatusBar1->SetText("Is sending data to the instrument ...");
  InstrumentSetup = SetupFromControls();
  uint8_t data[kMaxBlockBytes] = {};
  std::memcpy(data, &InstrumentSetup, kInstrumentSetupSize);
  // Without an acknowledgement in time the status says the write failed.
  if (SendWriteBlock(SlaveAddress, kRegisterSetup, data, kInstrumentSetupSize)) {
    WriteWait->Arm();
  } else {
    SeSkinStatusBar1->SetText(kNotAcknowledgedText);
  }
}

void TInputNetSet::SeSkinButton3Click() {
  close();
}

void TInputNetSet::SeSkinComboBox5Change() {
  const bool manual = SeSkinComboBox5->currentIndex() != 0;
  for (QWidget* w : std::initializer_list<QWidget*>{SeSkinComboBox6, SeSkinComboBox7, SeSkinLabel3,
                                                    SeSkinLabel4})
    w->setVisible(manual);
}

void TInputNetSet::SeSkinTrackBar1Change() {
  Label1->setText(QString::number(SeSkinTrackBar1->value()));
}

void TInputNetSet::SeSkinRadioGroup1Click() {
  const int item = SeSkinRadioGroup1->ItemIndex();
  if (item < 0 || item > 3) return;
  ThreePhaseHost* host = host_;
  // Pages 0 to 3: Channel 1, 2, 3 and Three-phase Analysis. Pages to stay are shown before
  // one is hidden, so that the tab control never runs out of pages to select.
  auto pages = [host](std::initializer_list<int> shown, int hidden) {
    if (!host) return;
    for (int page : shown) host->SetPageVisible(page, true);
    if (hidden >= 0) host->SetPageVisible(hidden, false);
  };
  if (host && item == 0 && host->IsPageVisible(3)) host->SelectPage(0);
  if (host && item == 1 && host->IsPageVisible(2)) host->SelectPage(2);
  // A missing picture leaves the box empty.
  const QImage picture(DataFile(kWirings[item].picture));
  Image1->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
  if (host) host->SetStatusText(2, kWirings[item].status);
  switch (item) {
    case 0:
      pages({0, 1, 2}, 3);
      break;
    case 1:
      pages({0, 1, 3}, 2);
      if (host) host->SelectPage(3);
      break;
    default:
      pages({0, 1, 2, 3}, -1);
      if (host) host->SelectPage(3);
      break;
  }
}
