#include "cli/InstrumentLink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "cli/CliError.h"
#include "link/BindComm1.h"
#include "link/LinkLog.h"
#include "link/LinkPort.h"
#include "link/LinkState.h"
#include "link/PortScan.h"
#include "platform/PortDirectory.h"

namespace {

void PrintFrame(const LoggedFrame& frame) {
  std::fprintf(stderr, "%s\n", qPrintable(FrameLine(frame)));
}

}  // namespace

void AddLinkOptions(QCommandLineParser& parser) {
  parser.addOptions({
      {"port", "The instrument's port: COM<n> (through the port directory) or a device path.",
       "PORT"},
      {"baud", "Line speed: 4800, 9600, 14400 (default), 19200, 38400, 57600, 76800 or 115200.",
       "B", "14400"},
      {"address", "The instrument's address, 1 to 255 (default 2).", "A", "2"},
      {"trace", "Prints every frame on stderr."},
  });
}

LinkOptions LinkOptionsFrom(const QCommandLineParser& parser) {
  LinkOptions options;
  options.port = ParsePort(Required(parser, "port"));
  options.speedIndex = ParseSpeedIndex(parser.value("baud"));
  options.address = ParseAddress(parser.value("address"));
  options.trace = parser.isSet("trace");
  return options;
}

InstrumentLink::InstrumentLink(const LinkOptions& options) : options_(options), control_(*this) {
  ResetLinkState();
  BindComm1(comm_, *this);
  SlaveAddress = options.address;
  comm_.SetBaudRate(kSpeedRates[options.speedIndex]);
  if (options.port.devicePath.empty()) {
    comm_.SetCommPort(ComPortOfNumber(options.port.number));
  } else {
    comm_.SetDevicePath(options.port.devicePath);
  }
  if (options.trace) TheLinkLog().onFrame = PrintFrame;
}

InstrumentLink::~InstrumentLink() {
  control_.ApplyStartupState();
  if (comm_.PortOpen()) {
    control_.FormCloseQuery();  // over USB the instrument is told that we leave
    comm_.ClosePort();
  }
  TheLinkLog().onFrame = nullptr;
  SetLinkPort(nullptr);
}

void InstrumentLink::Open() {
  try {
    comm_.SetPortOpen(true);
  } catch (const AppError& error) {
    // The box's text names no port; the reason after it does, when the system gave one.
    QString reason = error.Text().section("\r\r", 1).simplified();
    if (reason.isEmpty()) {
      reason = options_.port.devicePath.empty() && PortDevicePath(options_.port.number).empty()
                   ? QString("no such port (no entry %1 in %2%3)")
                         .arg(options_.port.Name(), QString::fromStdString(PortDirectory()),
                              SystemPortsEnabled() ? ", no system device" : "")
                   : error.Text().simplified();
    }
    Failure(QString("%1: cannot open the port: %2").arg(options_.port.Name(), reason));
  }
  DrainStaleInput();
  // The instrument's USB port answers without the line's pacing, as in the application.
  const int number = options_.port.devicePath.empty()
                         ? options_.port.number
                         : PortNumberOfDevice(options_.port.devicePath);
  const std::vector<uint8_t> usb = InstrumentUsbPorts();
  UsbMode = number > 0 && std::find(usb.begin(), usb.end(), number) != usb.end() ? 1 : 0;
}

void InstrumentLink::DrainStaleInput() {
  constexpr int kQuietMs = 150;
  constexpr int kMostMs = 20000;  // an answer at 4800 bit/s takes about 17 s
  QElapsedTimer clock;
  clock.start();
  do {
    comm_.SetDataCount(0);
    QThread::msleep(kQuietMs);
  } while (comm_.DataCount() > 0 && clock.elapsed() < kMostMs);
  comm_.SetDataCount(0);
}

void InstrumentLink::SetReReadTimerEnabled(bool enabled) {
  control_.SetReReadTimerEnabled(enabled);
  // The dispatcher switches the re-read off exactly when a whole reading has arrived.
  if (!enabled) {
    ++readings_;
    if (onReading) onReading();
  }
}

void InstrumentLink::SetContinuousReadTimerEnabled(bool enabled) {
  control_.SetContinuousReadTimerEnabled(enabled);
}

bool InstrumentLink::RunUntil(const std::function<bool()>& done, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QEventLoop loop;
    QTimer::singleShot(std::clamp<qint64>(deadline.remainingTime(), 0, 50), &loop,
                       &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

QString InstrumentLink::NoAnswerText(int timeoutMs) const {
  const LinkCounters& c = TheLinkLog().Counters();
  QString why;
  if (c.BytesIn == 0) {
    why = "nothing came back; check the cable, that the instrument is on, and its address";
  } else if (c.CrcErrors > 0 || c.Malformed > 0) {
    why = QString("%1 answers with a bad CRC and %2 short or unroutable ones; check the speed")
              .arg(c.CrcErrors)
              .arg(c.Malformed);
  } else {
    why = "the answer did not come whole";
  }
  return QString("%1: no reading within %2 s (%3 requests, %4 bytes in): %5")
      .arg(options_.port.Name())
      .arg(timeoutMs / 1000.0)
      .arg(c.Requests)
      .arg(c.BytesIn)
      .arg(why);
}

void InstrumentLink::TakeReading(int timeoutMs) {
  const int before = readings_;
  control_.SeSkinSpeedButton7Click();
  if (!RunUntil([&] { return readings_ > before; }, timeoutMs)) {
    control_.SeSkinSpeedButton9Click();
    Failure(NoAnswerText(timeoutMs));
  }
}

void InstrumentLink::StartContinuous() {
  control_.SeSkinButton4Click();
}

void InstrumentLink::WaitForReading(int timeoutMs) {
  const int before = readings_;
  if (!RunUntil([&] { return readings_ > before; }, timeoutMs)) {
    Stop();
    Failure(NoAnswerText(timeoutMs));
  }
}

void InstrumentLink::Stop() {
  control_.SeSkinSpeedButton9Click();
}
