#pragma once
// The serial port component: owns one port by number, applies its line settings, writes
// frames, and polls it every 100 ms on the user-interface thread, raising an event when
// input waits, when a modem line changes and when the driver reports a line error.

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/LinkPort.h"
#include "platform/Errors.h"
#include "platform/SerialPort.h"

// Port number = ordinal + 1; every ordinal 0 to 254 is a port.
enum TComPortNumber : uint8_t { pnCOM1 = 0, pnCOM2 = 1, pnCOM3 = 2, pnCOM12 = 11, pnCOM255 = 254 };
constexpr TComPortNumber ComPortOfNumber(int portNumber) {
  return static_cast<TComPortNumber>(portNumber - 1);
}
constexpr int PortNumberOf(TComPortNumber port) {
  return static_cast<int>(port) + 1;
}

enum TBaudRate : uint8_t {
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br76800,
  br115200,
  br230400
};
uint32_t BaudRateValue(TBaudRate rate);

// The communication window's speeds, by item index 0 to 7 (4.8 to 115.2 kbit/s).
inline constexpr TBaudRate kSpeedRates[8] = {br4800,  br9600,  br14400, br19200,
                                             br38400, br57600, br76800, br115200};

enum THWHandShaking : uint8_t { hhNone, hhNoneRTSON, hhRTSCTS };
enum TSWHandShaking : uint8_t { shNone, shXonXoff };
enum TDataBits : uint8_t { DB5, DB6, DB7, DB8 };
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };
enum TStopBits : uint8_t { SB1, SB1_5, SB2 };

// Modem-line change flags of CommEvent.
inline constexpr uint32_t kEventCts = 0x08;
inline constexpr uint32_t kEventDsr = 0x10;
inline constexpr uint32_t kEventCarrierDetect = 0x20;
inline constexpr uint32_t kEventRing = 0x100;

// Stores the new line states in `held` and returns the flags of the lines that changed.
uint32_t TrackModemLines(SerialModemStatus& held, const SerialModemStatus& now);

inline constexpr uint32_t kCommBufferSize = 16384;

// A port that cannot be opened or set up.
class ECommError : public AppError {
 public:
  using AppError::AppError;
};
extern const char* const kCommOpenFailedText;
extern const char* const kCommBufferFailedText;

class TComm : public QObject, public LinkPort {
  Q_OBJECT
 public:
  using TReceiveDataEvent = std::function<void(TComm* sender)>;
  using TReceiveErrorEvent = std::function<void(TComm* sender, uint32_t eventMask)>;
  using TModemStateChangeEvent = std::function<void(TComm* sender, uint32_t modemEvent)>;

  explicit TComm(QObject* owner = nullptr);
  ~TComm() override;

  TReceiveDataEvent OnReceiveData;
  TReceiveErrorEvent OnReceiveError;
  TModemStateChangeEvent OnModemStateChange;

  // true opens (an error box when already open), false closes.
  bool PortOpen() const override { return portOpen_; }
  void SetPortOpen(bool open);

  TComPortNumber CommPort() const { return commPort_; }
  void SetCommPort(TComPortNumber port) { commPort_ = port; }  // used at the next open
  // A device opened instead of the port number's device at the next open (the batch tool's
  // --port /dev/...); empty to use the number again.
  void SetDevicePath(const std::string& path) { devicePath_ = path; }

  // A new value is stored and, with a port open, applied at once.
  TBaudRate BaudRate() const { return baudRate_; }
  void SetBaudRate(TBaudRate rate);
  THWHandShaking HwHandShaking() const { return hwHandShaking_; }
  void SetHwHandShaking(THWHandShaking value);
  TSWHandShaking SwHandShaking() const { return swHandShaking_; }
  void SetSwHandShaking(TSWHandShaking value);
  TDataBits DataBits() const { return dataBits_; }
  void SetDataBits(TDataBits value);
  TParity Parity() const { return parity_; }
  void SetParity(TParity value);
  TStopBits StopBits() const { return stopBits_; }
  void SetStopBits(TStopBits value);

  uint32_t InputLen() const { return inputLen_; }  // bytes per read; 0 reads all queued
  void SetInputLen(uint32_t bytes) { inputLen_ = bytes; }
  uint32_t RThreshold() const { return rThreshold_; }  // 0: no receive event
  void SetRThreshold(uint32_t bytes) { rThreshold_ = bytes; }

  // With no port open these do nothing, not even store the value.
  bool DTREnabled() const { return dtrEnabled_; }
  void SetDTREnabled(bool on);
  bool RTSEnabled() const { return rtsEnabled_; }
  void SetRTSEnabled(bool on);

  // Reads the queued input and returns it up to the first zero byte.
  QByteArray Input();
  // Reads the queued input and returns all bytes of the last read.
  std::span<const uint8_t> ReadInputBytes() override;
  // One synchronous write; true whenever a port is open, whatever the device did.
  bool WriteBytes(const uint8_t* data, uint32_t count) override;

  // Bytes in the input queue; writing 0 purges it, other values do nothing.
  uint32_t DataCount() const;
  void SetDataCount(uint32_t value);

  uint32_t CommEvent() const { return commEvent_; }
  uint32_t CommError() const { return commError_; }
  bool CDHolding() const { return held_.carrierDetect; }
  bool CTSHolding() const { return held_.cts; }
  bool DSRHolding() const { return held_.dsr; }
  bool RIHolding() const { return held_.ring; }

  // The device went away under an open port (unplugged, far end closed). The port stays
  // open, as a handle to a removed device does, until it is closed.
  bool PortLost() const;

  // The driver queue asked for at open (16384). Tests make it larger so that more than
  // the component's buffer can queue up.
  void SetDriverQueueSize(uint32_t bytes) { driverQueueSize_ = bytes; }

  void OpenPort();
  void ClosePort();
  void ApplySettings();
  void ReadInput();
  void PollTimer();
  void CheckModemState();

 private:
  void Reapply();

  QTimer pollTimer_;
  uint8_t buffer_[kCommBufferSize] = {};
  std::unique_ptr<SerialPort> handle_;
  TComPortNumber commPort_ = pnCOM2;
  std::string devicePath_;
  bool portOpen_ = false;
  TBaudRate baudRate_ = br9600;
  THWHandShaking hwHandShaking_ = hhNone;
  TSWHandShaking swHandShaking_ = shNone;
  TDataBits dataBits_ = DB8;
  TParity parity_ = TParity::None;
  TStopBits stopBits_ = SB1;
  uint32_t inputLen_ = 0;
  uint32_t rThreshold_ = 0;
  bool dtrEnabled_ = false;
  bool rtsEnabled_ = false;
  QByteArray input_;
  std::vector<uint8_t> inputBytes_;
  uint32_t commEvent_ = 0;
  uint32_t commError_ = 0;
  SerialModemStatus held_;  // last seen line states, all false at the start
  uint32_t driverQueueSize_ = kCommBufferSize;
};
