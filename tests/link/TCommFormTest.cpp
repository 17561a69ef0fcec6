#include "link/TCommForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <sys/resource.h>
#include <csignal>

#include "link/Frames.h"
#include "link/LinkState.h"
#include "link/TComm.h"
#include "platform/CommandLine.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/SerialPort.h"
#include "support/PtyPair.h"

namespace {

using Bytes = std::vector<uint8_t>;

class RecordingHost : public CommFormHost {
 public:
  QString status;
  QStringList statuses;
  int samplingEnabled = -1;
  void SetStatusText(int panel, const QString& text) override {
    if (panel != 0) return;
    status = text;
    statuses << text;
  }
  void SetSamplingStartEnabled(bool enabled) override { samplingEnabled = enabled; }
};

Bytes ReadRequest(uint8_t address, uint16_t reg, uint16_t count) {
  Bytes frame = {address,
                 0x03,
                 static_cast<uint8_t>(reg >> 8),
                 static_cast<uint8_t>(reg),
                 static_cast<uint8_t>(count >> 8),
                 static_cast<uint8_t>(count)};
  const uint16_t crc = Crc16(frame.data(), frame.size());
  frame.push_back(crc & 0xFF);
  frame.push_back(crc >> 8);
  return frame;
}

class CommForm : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("RXM5620_CONFIG_DIR", configDir.path().toLocal8Bit());
    previous_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
    SetLinkPort(&comm);
    StartedWithFile = 0;
    UsbMode = 0;
    KeepAliveTicks = ReceiveSilenceTicks = 0;
  }
  void TearDown() override {
    SetLinkPort(nullptr);
    SetMessageBoxHandler(previous_);
    qunsetenv("RXM5620_CONFIG_DIR");
  }

  void Settings(const QByteArray& text) {
    QFile file(configDir.filePath("SysSet.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QByteArray SettingsFile() {
    QFile file(configDir.filePath("SysSet.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Declare(int port, const char* name) {
    QFile file(QString::fromStdString(ports.EntryPath(port)) + ".pnp");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("PNPDeviceID=USB\\VID_0483&PID_5733\\T1\nName=") + name + "\n");
  }
  QStringList Items() {
    QStringList items;
    for (int i = 0; i < form->RadioGroup2->Count(); ++i) items << form->RadioGroup2->ItemText(i);
    return items;
  }

  QTemporaryDir configDir;
  ScopedPortDirectory ports;
  TComm comm;
  RecordingHost host;
  std::unique_ptr<TCommForm> form = std::make_unique<TCommForm>(comm, host);
  QStringList boxes;

 private:
  MessageBoxHandler previous_;
};

TEST_F(CommForm, SavedPlainPortIsListedOpenedAndAskedForTheAlarmBlock) {
  PtyPair instrument;
  ports.Link(3, instrument.SlavePath());
  Settings("[CommPort]\nPort=3\n[CommAddress]\nAddress=7\n[CommBaudrate]\nBaudrate=7\n");
  form->FormCreate();
  EXPECT_EQ(Items(), QStringList{"COM3    "});
  EXPECT_EQ(form->RadioGroup2->ItemIndex(), 0);
  EXPECT_NE(UsbMode, 1);
  EXPECT_TRUE(comm.PortOpen());
  EXPECT_EQ(PortNumberOf(comm.CommPort()), 3);
  EXPECT_EQ(comm.BaudRate(), br115200);
  EXPECT_EQ(form->ComboBox1->currentIndex(), 7);
  EXPECT_EQ(SlaveAddress, 7);
  EXPECT_EQ(host.status, "Communication port is open");
  EXPECT_EQ(host.samplingEnabled, 1);
  EXPECT_TRUE(form->ScanDone);
  EXPECT_EQ(instrument.ReadExactly(8), ReadRequest(7, 1, 52));
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(CommForm, SavedPortAbsentReportsAndDisablesSampling) {
  PtyPair other;
  ports.Link(4, other.SlavePath());
  Settings("[CommPort]\nPort=7\n");
  form->FormCreate();
  EXPECT_EQ(Items(), QStringList{"COM4    "});
  EXPECT_EQ(form->RadioGroup2->ItemIndex(), -1);
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0],
            "Did not find the default communication port! Please check:\r\r       Instrument "
            "power is turned on.\r       Connect  lines of communication apparatus.\r       "
            "Changed the USB port, reset communication settings!       ");
  EXPECT_EQ(host.status, "Connection fails");
  EXPECT_EQ(host.samplingEnabled, 0);
  EXPECT_FALSE(comm.PortOpen());
}

TEST_F(CommForm, StartedWithAFileTheFirstFailedScanIsSilent) {
  StartedWithFile = 1;
  form->FormCreate();
  EXPECT_TRUE(boxes.isEmpty());
  EXPECT_EQ(StartedWithFile, 0);
  form->FormCreate();
  EXPECT_EQ(boxes.size(), 1) << "the next scan reports again";
}

TEST_F(CommForm, TheInstrumentsUsbPortIsRecognisedByItsIdentifier) {
  PtyPair usb;
  PtyPair plain;
  ports.Link(7, usb.SlavePath());
  ports.Link(12, plain.SlavePath());
  Declare(7, "RXM5620 Virtual COM Port (COM7)");
  Settings("[CommPort]\nPort=7\n");
  form->FormCreate();
  EXPECT_EQ(Items(), (QStringList{"COM7         Through the USB connection RXM5620", "COM12    "}));
  EXPECT_EQ(form->UsbPortList, std::vector<uint8_t>{7});
  EXPECT_EQ(UsbMode, 1);
  EXPECT_TRUE(comm.PortOpen());
}

TEST_F(CommForm, APortHeldByAnotherProgramIsNotListed) {
  PtyPair held;
  PtyPair free;
  ports.Link(2, held.SlavePath());
  ports.Link(5, free.SlavePath());
  std::unique_ptr<SerialPort> other = SerialPort::Open(2);
  ASSERT_NE(other, nullptr);
  form->FormCreate();
  EXPECT_EQ(Items(), QStringList{"COM5    "});
  EXPECT_EQ(host.status, "Connection fails");
}

TEST_F(CommForm, ChoosingAPortSavesAndConnectsIt) {
  PtyPair a;
  PtyPair b;
  ports.Link(2, a.SlavePath());
  ports.Link(9, b.SlavePath());
  Declare(9, "RXM5620 Virtual COM Port (COM9)");
  form->FormCreate();
  form->RadioGroup2->Button(1)->click();
  EXPECT_EQ(SystemSettings().ReadString("CommPort", "Port"), "9");
  EXPECT_EQ(PortNumberOf(comm.CommPort()), 9);
  EXPECT_TRUE(comm.PortOpen());
  EXPECT_EQ(UsbMode, 1);
  EXPECT_EQ(host.status, "Successful connection");
  EXPECT_EQ(form->SavedPort, 2) << "the saved port of the scan stays";
}

TEST_F(CommForm, AddressOutsideTheRangeTurnsRedAndIsNotSaved) {
  form->FormCreate();
  const QByteArray before = SettingsFile();
  form->Edit1->setText("300");
  EXPECT_EQ(form->Edit1->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_EQ(SettingsFile(), before);
  EXPECT_EQ(SlaveAddress, 300 & 0xFF);
  form->Edit1->setText("");
  EXPECT_EQ(SlaveAddress, 0);
  form->Edit1->setText("17");
  EXPECT_NE(form->Edit1->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_EQ(SystemSettings().ReadString("CommAddress", "Address"), "17");
  EXPECT_EQ(SlaveAddress, 17);
}

TEST_F(CommForm, TheAddressBoxTakesDigitsAndBackspaceOnly) {
  form->Edit1->clear();
  QTest::keyClicks(form->Edit1, "1a2-3 ");
  EXPECT_EQ(form->Edit1->text(), "123");
  QTest::keyClick(form->Edit1, Qt::Key_Backspace);
  EXPECT_EQ(form->Edit1->text(), "12");
}

TEST_F(CommForm, ChangingTheSpeedReopensThePortAndSavesTheIndex) {
  PtyPair instrument;
  ports.Link(2, instrument.SlavePath());
  form->FormCreate();
  ASSERT_TRUE(comm.PortOpen());
  EXPECT_EQ(comm.BaudRate(), br14400) << "a fresh installation runs at 14.4 kbit/s";
  form->ComboBox1->setCurrentIndex(4);
  form->ComboBox1Change();
  EXPECT_EQ(comm.BaudRate(), br38400);
  EXPECT_TRUE(comm.PortOpen());
  EXPECT_EQ(SystemSettings().ReadString("CommBaudrate", "Baudrate"), "4");
}

TEST_F(CommForm, WatchdogSendsKeepAlivesAndReopensTheUsbPort) {
  auto instrument = std::make_unique<PtyPair>();
  ports.Link(7, instrument->SlavePath());
  Declare(7, "RXM5620 Virtual COM Port (COM7)");
  Settings("[CommPort]\nPort=7\n");
  form->Timer1->stop();  // ticks are driven by hand here
  form->FormCreate();
  ASSERT_EQ(UsbMode, 1);
  instrument->ReadExactly(8);  // the alarm-block read
  KeepAliveTicks = ReceiveSilenceTicks = 0;

  for (int tick = 1; tick <= 10; ++tick) form->Timer1Timer();
  EXPECT_TRUE(instrument->ReadAvailable().empty()) << "1.0 s of silence: nothing yet";
  form->Timer1Timer();  // 1.1 s
  EXPECT_EQ(instrument->ReadExactly(8), ReadRequest(2, 45, 15));

  for (int tick = 12; tick <= 16; ++tick) form->Timer1Timer();  // 1.6 s: reopen
  EXPECT_EQ(host.status, "Instrument is connected");
  EXPECT_TRUE(comm.PortOpen());
  EXPECT_EQ(instrument->ReadExactly(8), ReadRequest(2, 45, 15));

  // Unplugged: the device is gone, every 1.6 s the reopen fails.
  instrument.reset();
  host.statuses.clear();
  for (int tick = 0; tick < 32; ++tick) form->Timer1Timer();
  EXPECT_EQ(host.statuses, (QStringList{"Connect instrument fail", "Connect instrument fail"}));
  EXPECT_FALSE(comm.PortOpen());

  // Plugged in again under the same name.
  instrument = std::make_unique<PtyPair>();
  ports.Link(7, instrument->SlavePath());
  for (int tick = 0; tick < 16; ++tick) form->Timer1Timer();
  EXPECT_EQ(host.status, "Instrument is connected");
  EXPECT_TRUE(comm.PortOpen());
}

TEST_F(CommForm, WatchdogOnAPlainPortOnlyCounts) {
  UsbMode = 0;
  for (int tick = 0; tick < 40; ++tick) form->Timer1Timer();
  EXPECT_EQ(KeepAliveTicks, 40);
  EXPECT_TRUE(host.statuses.isEmpty());
}

TEST(CommFormNames, PortNumberIsTakenFromTheTrailingComOrByTheNamesLength) {
  struct NameCase {
    QString name;
    int port;
  };
  const NameCase cases[] = {
      {"USB Serial Port 1 (COM7)", 7},          // 24 characters, but one digit: the fallback
      {"USB Serial Port  (COM12)", 12},         // 24 characters ending in (COM12)
      {"USB Serial Port (COM7)+", 0},           // 23 characters, no number before the last
      {"FT232R USB UART (COM34)", 34},          // 15-character product: 23 characters
      {"USB-Serial Controller D (COM45)", 45},  // 23-character product: 31 characters
      {"FT232R USB UART (COM3)", 3},
      {"Gadget Serial v2.4 p(17)", 17},        // no "(COM": 24 characters, two digits
      {"USB Serial Pt (COM123)", 123},         // other length: trailing (COM<n>)
      {"RXM5620 Virtual COM Port (COM7)", 7},  // 31
      {"RXM5620 Virtual COM Port (COM42)", 42},
      {"RXM5620 Virtual COM Port (COM200)", 200},
      {"USB device", 0},
      {"Port (COM0)", 0},
      {"Port (COM999)", 0},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(TCommForm::PortNumberFromName(c.name), c.port) << c.name.toStdString();
  }
}

}  // namespace

namespace {

int RedPixels(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
    }
  }
  return n;
}

TEST_F(CommForm, InvalidAddressIsDrawnRedUnderAnApplicationStyleSheet) {
  // The skins' rules for every widget and line edit, as the skin files give them.
  qApp->setStyleSheet(
      "QWidget { background-color: #e8e8e8; color: #202020; } QLineEdit { color: #202020; }");
  form->FormCreate();
  form->show();
  form->Edit1->setText("300");
  EXPECT_GT(RedPixels(form->Edit1), 10);
  form->Edit1->setText("17");
  EXPECT_EQ(RedPixels(form->Edit1), 0);
  qApp->setStyleSheet(QString());
}

TEST_F(CommForm, ScanHandlesAStoredAddressOnce) {
  // A write of the address that fails must be reported once, not once per handling.
  Settings("[CommAddress]\nAddress=7\n");
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  signal(SIGXFSZ, SIG_IGN);
  struct rlimit none = saved;
  none.rlim_cur = 0;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
  RunHandler([this] { form->FormCreate(); });
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(boxes.filter("SysSet.ini").size(), 1) << boxes.join(" | ").toStdString();
  EXPECT_EQ(SlaveAddress, 7);
}

}  // namespace
