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

  // The text the port list shows for port n.
  static QString PortItemText(int portNumber, bool usb);
  // The port number in a USB port's display name: by the name's length (23/31 one
  // digit, 24/32 two, 25/33 three, before the closing parenthesis), else from a trailing
  // "(COM<n>)"; 0 when the name holds none.
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
  static constexpr const char* UsbIdText = "5733";

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TComm& comm_;
  CommFormHost& host_;
};
