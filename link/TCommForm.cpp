#include "link/TCommForm.h"

#include <QKeyEvent>

#include "display/ConfigBlocks.h"
#include "link/Frames.h"
#include "link/LinkState.h"
#include "link/PortScan.h"
#include "link/TComm.h"
#include "platform/CommandLine.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/PortDirectory.h"
#include "platform/SerialPort.h"
#include "platform/SettingsKeys.h"

namespace {

const char* const kNoPortMessage =
    "Did not find the default communication port! Please check:\r\r       Instrument power is "
    "turned on.\r       Connect  lines of communication apparatus.\r       Changed the USB port, "
    "reset communication settings!       ";

void SetSpeed(TComm& comm, int index) {
  if (index >= 0 && index < 8) comm.SetBaudRate(kSpeedRates[index]);
}

}  // namespace

TCommForm::TCommForm(TComm& comm, CommFormHost& host, QWidget* parent)
    : QDialog(parent), comm_(comm), host_(host) {
  setObjectName("TCommForm");
  setWindowTitle("Communication settings");
  setFixedSize(326, 471);

  GroupBox1 = new QGroupBox(" Communication speed (baud rate)  ", this);
  GroupBox1->setGeometry(8, 8, 310, 56);
  ComboBox1 = new QComboBox(GroupBox1);
  ComboBox1->addItems({"4.8Kbps", "9.6Kbps", "14.4Kbps", "19.2Kbps", "38.4Kbps", "57,6Kbps",
                       "76.8Kbps", "115.2Kbps"});
  ComboBox1->setGeometry(12, 22, 286, 24);
  ComboBox1->setCurrentIndex(-1);

  RadioGroup2 = new RadioGroup(" Communications port  ", {}, this);
  RadioGroup2->setGeometry(8, 72, 310, 250);

  GroupBox2 = new QGroupBox("Modbus-RTU slave address", this);
  GroupBox2->setGeometry(8, 330, 310, 64);
  Label1 = new QLabel("Select the slave address (1-255):", GroupBox2);
  Label1->setGeometry(12, 26, 200, 20);
  Edit1 = new QLineEdit("1", GroupBox2);
  Edit1->setGeometry(218, 24, 80, 24);
  Edit1->installEventFilter(this);

  Button1 = new QPushButton("Scanning communication port", this);
  Button1->setGeometry(8, 408, 200, 28);
  Button2 = new QPushButton("Exit", this);
  Button2->setGeometry(228, 408, 90, 28);

  Timer1 = new QTimer(this);
  Timer1->setInterval(100);

  // Selecting from the program runs the same handling as a user's choice; a drop-down
  // list's selection from the program runs nothing, so only user activation counts there.
  connect(ComboBox1, &QComboBox::activated, this,
          [this] { RunHandler([this] { ComboBox1Change(); }); });
  connect(Edit1, &QLineEdit::textChanged, this, [this] { RunHandler([this] { Edit1Change(); }); });
  RadioGroup2->OnClick = [this] { RunHandler([this] { RadioGroup2Click(); }); };
  connect(Button1, &QPushButton::clicked, this, [this] { RunHandler([this] { FormCreate(); }); });
  connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
  connect(Timer1, &QTimer::timeout, this, [this] { RunHandler([this] { Timer1Timer(); }); });
  Timer1->start();
}

QString TCommForm::PortItemText(int portNumber, bool usb) {
  return QString("COM%1").arg(portNumber) +
         (usb ? "         Through the USB connection RXM5620" : "    ");
}

int TCommForm::PortNumberFromName(const QString& name) {
  return ::PortNumberFromName(name);
}

void TCommForm::FormCreate() {
  ReceiveSilenceTicks = 0;
  ScanDone = false;
  UsbPortList.clear();
  host_.SetStatusText(0, "Searching port");

  const IniFile settings = SystemSettings();
  const int speed = settings.ReadInteger(settings::kCommBaudrate, settings::kBaudrate);
  ComboBox1->setCurrentIndex(speed >= 0 && speed < 8 ? speed : ComboBox1->currentIndex());
  SetSpeed(comm_, speed);
  SavedPort = static_cast<uint8_t>(settings.ReadInteger(settings::kCommPort, settings::kPort));
  const QString address = settings.ReadString(settings::kCommAddress, settings::kAddress);
  const bool unchanged = Edit1->text() == address;
  Edit1->setText(address);
  if (unchanged) Edit1Change();  // an unchanged text raises no change event
  SlaveAddress = static_cast<uint8_t>(address.isEmpty() ? 0 : SettingsTextToInt(address));

  if (comm_.PortOpen()) comm_.SetPortOpen(false);

  UsbPortList = InstrumentUsbPorts();

  RadioGroup2->SetItems({});
  UsbMode = 0;
  int selected = -1;
  QStringList items;
  for (const PortChoice& port : AvailablePorts(UsbPortList)) {
    items << PortItemText(port.number, port.usb);
    if (port.number == SavedPort) {
      if (port.usb) UsbMode = 1;
      selected = static_cast<int>(items.size()) - 1;
    }
  }
  RadioGroup2->SetItems(items);
  if (selected >= 0) RadioGroup2->SetItemIndex(selected);

  if (selected < 0) {
    if (StartedWithFile == 0) ShowMessage(kNoPortMessage);
    StartedWithFile = 0;
    host_.SetSamplingStartEnabled(false);
    host_.SetStatusText(0, "Connection fails");
  } else {
    SetCommPort(SavedPort);
    if (!comm_.PortOpen()) comm_.SetPortOpen(true);
    host_.SetStatusText(0, "Communication port is open");
    host_.SetSamplingStartEnabled(true);
    if (!SendReadRequest(SlaveAddress, kRegisterAlarms, kAlarmBlockSize)) {
      ShowMessage("request read fails, the instrument and the computer is not connected.");
    }
  }
  ScanDone = true;
}

void TCommForm::SetCommPort(uint8_t portNumber) {
  if (portNumber != 0) comm_.SetCommPort(ComPortOfNumber(portNumber));
}

void TCommForm::RadioGroup2Click() {
  if (!ScanDone) return;
  const int index = RadioGroup2->ItemIndex();
  if (index < 0) return;
  const QString item = RadioGroup2->ItemText(index);
  const QString portText = item.mid(3, 3).trimmed();
  SystemSettings().WriteString(settings::kCommPort, settings::kPort, portText);
  comm_.SetPortOpen(false);
  SetCommPort(static_cast<uint8_t>(SettingsTextToInt(portText)));
  UsbMode = item.contains("USB") ? 1 : 0;
  if (!comm_.PortOpen()) comm_.SetPortOpen(true);
  host_.SetStatusText(0, "Successful connection");
  host_.SetSamplingStartEnabled(true);
}

void TCommForm::ComboBox1Change() {
  const int index = ComboBox1->currentIndex();
  SystemSettings().WriteInteger(settings::kCommBaudrate, settings::kBaudrate, index);
  SetSpeed(comm_, index);
  if (comm_.PortOpen()) {
    comm_.SetPortOpen(false);
    comm_.SetPortOpen(true);
  }
}

void TCommForm::Edit1Change() {
  const QString text = Edit1->text();
  // The box takes digits only; a number too long for an integer counts as out of range.
  bool ok = true;
  const qlonglong number = text.isEmpty() ? 0 : text.toLongLong(&ok);
  SlaveAddress = ok ? static_cast<uint8_t>(number & 0xFF) : 0;
  // The red of an invalid address is also the box's own style sheet, which a skin's sheet
  // does not override (it does override the palette).
  QPalette palette = Edit1->palette();
  if (ok && number >= 1 && number <= 255) {
    SystemSettings().WriteString(settings::kCommAddress, settings::kAddress, text);
    palette.setColor(QPalette::Text, QWidget::palette().color(QPalette::WindowText));
    Edit1->setStyleSheet(QString());
  } else {
    palette.setColor(QPalette::Text, Qt::red);
    Edit1->setStyleSheet("QLineEdit { color: #ff0000; }");
  }
  Edit1->setPalette(palette);
}

void TCommForm::Timer1Timer() {
  const WatchdogStep step = UsbWatchdogTick();
  if (step.sendKeepAlive) SendReadRequest(SlaveAddress, kRegisterKeepAlive, kKeepAliveCount);
  if (step.reopen) {
    comm_.SetPortOpen(false);
    if (!ProbeSerialPort(SavedPort)) {
      host_.SetStatusText(0, "Connect instrument fail");
      return;
    }
    comm_.SetPortOpen(true);
    host_.SetStatusText(0, "Instrument is connected");
    KeepAliveTicks = 0;
    SendReadRequest(SlaveAddress, kRegisterKeepAlive, kKeepAliveCount);
  }
}

bool TCommForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Edit1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    const bool digit = text.size() == 1 && text[0] >= '0' && text[0] <= '9';
    const bool backspace = key->key() == Qt::Key_Backspace;
    // Keys without text (arrows, Home) move the cursor and stay allowed.
    if (!digit && !backspace && !text.isEmpty()) return true;
  }
  return QDialog::eventFilter(watched, event);
}
