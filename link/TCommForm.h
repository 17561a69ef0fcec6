#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "link/PortScan.h"
#include "platform/RadioGroup.h"

class TComm;

// What the communication window needs of the main window.
class CommFormHost {
 public:
  virtual ~CommFormHost() = default;
  virtual void SetStatusText(int panel, const QString& text) = 0;
  // Single Sampling and Continuous Sampling, buttons and menu entries (N12, N13).
  virtual void SetSamplingStartEnabled(bool enabled) = 0;
};

// The communication settings window: finds the serial ports, recognises the instrument's
// USB port, connects Comm1 to the saved port, and watches the USB link.
class TCommForm : public QDialog {
  Q_OBJECT
 public:
  TCommForm(TComm& comm, CommFormHost& host, QWidget* parent = nullptr);

  // The scan; runs at creation (start-up calls it) and from Button1.
  void FormCreate();
  void SetCommPort(uint8_t portNumber);
  void RadioGroup2Click();
  void ComboBox1Change();
  void Edit1Change();
  void Timer1Timer();

  // The speed box's item index, 0 to 7 (4.8 to 115.2 kbit/s), -1 when none is chosen.
  int SpeedIndex() const { return ComboBox1->currentIndex(); }

  // The text the port list shows for port n.
  static QString PortItemText(int portNumber, bool usb);
  // The port number in a USB port's display name (PortNumberFromName of the port scan).
  static int PortNumberFromName(const QString& name);

  QGroupBox* GroupBox1;
  QComboBox* ComboBox1;     // speed
  RadioGroup* RadioGroup2;  // ports
  QGroupBox* GroupBox2;
  QLabel* Label1;
  QLineEdit* Edit1;      // slave address
  QPushButton* Button1;  // "Scanning communication port"
  QPushButton* Button2;  // "Exit"
  QTimer* Timer1;

  uint8_t SavedPort = 2;
  bool ScanDone = false;
  std::vector<uint8_t> UsbPortList;
  static constexpr const char* UsbIdText = kInstrumentUsbId;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TComm& comm_;
  CommFormHost& host_;
};
