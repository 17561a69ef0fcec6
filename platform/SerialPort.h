#pragma once
// One open serial device, with the operations the serial port component needs of a
// driver: exclusive raw open, line settings, an input queue with its count, read, purge,
// DTR/RTS, modem lines and close.
//
// The input queue lives here, not in the tty: a reader thread of the port drains the
// device as bytes arrive into a queue of the size asked for with SetupQueues (16 KiB),
// because the application may leave an 8161-byte answer unread for seconds and a tty
// holds only about 4 KiB meanwhile. Everything else runs on the caller's thread.
//
// A device that goes away (USB unplug, the far end of a pseudo-terminal closed) makes
// the port "lost": the reader stops, the device is released at once so that a replugged
// device gets its old name again, bytes already queued can still be read, and every
// further device operation fails quietly until the port is closed.

#include <QString>
#include <cstdint>
#include <memory>
#include <string>

// Error mask bits of ClearError, with the values the application's masks use.
inline constexpr uint32_t kSerialErrorQueueOverflow = 0x0001;  // input queue full, bytes lost
inline constexpr uint32_t kSerialErrorOverrun = 0x0002;        // the UART lost a character
inline constexpr uint32_t kSerialErrorParity = 0x0004;
inline constexpr uint32_t kSerialErrorFrame = 0x0008;
inline constexpr uint32_t kSerialErrorBreak = 0x0010;

// Purge flags.
inline constexpr unsigned kPurgeOutput = 0x1;
inline constexpr unsigned kPurgeInput = 0x2;

enum class SerialParity : uint8_t { None, Odd, Even, Mark, Space };
enum class SerialStopBits : uint8_t { One, OneAndHalf, Two };
enum class SerialLineControl : uint8_t { Disable, Enable, Handshake };

// The line settings the component reads, changes and writes back.
struct SerialLineSettings {
  uint32_t baudRate = 9600;  // any rate; the non-standard ones are set as a raw divisor
  uint8_t dataBits = 8;      // 5 to 8
  SerialParity parity = SerialParity::None;
  SerialStopBits stopBits = SerialStopBits::One;       // one and a half: two on the wire with
                                                       // 6 to 8 data bits, as UARTs do
  bool parityCheck = false;                            // check the parity of received bytes
  SerialLineControl dtr = SerialLineControl::Disable;  // Handshake is taken as Enable
  SerialLineControl rts = SerialLineControl::Disable;  // Handshake: RTS/CTS flow control
  bool ctsFlow = false;                                // output waits for CTS
  bool xonXoffOutput = false;                          // output obeys XON/XOFF
  bool xonXoffInput = false;                           // input sends XON/XOFF
};

struct SerialModemStatus {
  bool cts = false;
  bool dsr = false;
  bool ring = false;
  bool carrierDetect = false;
};

class SerialPort {
 public:
  // Opens the device of port number 1 to 255 (see PortDirectory.h) for reading and
  // writing, exclusively and in raw mode, and starts its reader. Null on failure, with
  // errno telling why (ENOENT when the number maps to no device, EBUSY when held).
  static std::unique_ptr<SerialPort> Open(int portNumber);
  static std::unique_ptr<SerialPort> OpenPath(const std::string& devicePath);

  ~SerialPort();  // stops the reader and closes the device
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Sets the input queue size (1 byte to 1 MiB); queued bytes beyond it are dropped.
  bool SetupQueues(uint32_t inputBytes, uint32_t outputBytes);
  // Drops what waits in the queue and in the device, by the kPurge flags.
  void Purge(unsigned what);

  bool GetLineSettings(SerialLineSettings& settings) const;
  bool SetLineSettings(const SerialLineSettings& settings);

  // The error mask collected since the last call (then cleared) and the queue count.
  bool ClearError(uint32_t& errors, uint32_t& inputQueued);
  // The queue count alone; the error mask stays.
  uint32_t InputQueued() const;
  // Takes up to `count` queued bytes without waiting; false only when nothing can ever
  // be read again (lost with an empty queue).
  bool Read(uint8_t* buffer, uint32_t count, uint32_t& read);
  // Writes all bytes, waiting as long as the line needs for them (bounded); false when
  // the device refused them or is lost.
  bool Write(const uint8_t* data, uint32_t count, uint32_t& written);

  bool SetDtr(bool on);
  bool SetRts(bool on);
  // Fails where the device has no modem lines (a pseudo-terminal) or is lost.
  bool GetModemStatus(SerialModemStatus& status) const;

  bool Lost() const;
  const std::string& DevicePath() const;

  struct Impl;

 private:
  explicit SerialPort(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// Whether port n could be opened exclusively now: opens the device without blocking and
// without becoming its controlling terminal, changes none of its settings, and closes it.
bool ProbeSerialPort(int portNumber);
bool ProbeSerialDevice(const std::string& devicePath);

// Why port `portNumber` could not be opened, for the user: what `error` (an errno of
// SerialPort::Open) means for its device and how to mend it; empty for no known reason.
QString OpenFailureReason(int portNumber, int error);
QString DeviceOpenFailureReason(const std::string& devicePath, int error);
