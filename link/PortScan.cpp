#include "link/PortScan.h"

#include <algorithm>

#include "link/LinkState.h"
#include "platform/PortDirectory.h"
#include "platform/PortInventory.h"
#include "platform/SerialPort.h"

namespace {

constexpr size_t kMaxUsbPorts = 11;
constexpr int kKeepAliveAfterTicks = 10;
constexpr int kReopenAfterTicks = 15;

bool IsPortNumber(int n) {
  return n >= kMinPortNumber && n <= kMaxPortNumber;
}

int NumberByLength(const QString& name) {
  int digits = 0;
  switch (name.size()) {
    case 23:
    case 31:
      digits = 1;
      break;
    case 24:
    case 32:
      digits = 2;
      break;
    case 25:
    case 33:
      digits = 3;
      break;
    default:
      return 0;
  }
  bool ok = false;
  const int n = name.mid(name.size() - 1 - digits, digits).toInt(&ok);
  return ok && IsPortNumber(n) ? n : 0;
}

}  // namespace

int PortNumberFromName(const QString& name) {
  // On Linux the inventory names every port "<product> (COM<n>)": that number is the port,
  // whatever the product's length.
  const qsizetype open = name.lastIndexOf("(COM");
  if (open >= 0 && name.endsWith(')')) {
    bool ok = false;
    const int n = name.mid(open + 4, name.size() - open - 5).toInt(&ok);
    if (ok) return IsPortNumber(n) ? n : 0;
  }
  return NumberByLength(name);
}

std::vector<uint8_t> InstrumentUsbPorts() {
  std::vector<uint8_t> ports;
  for (const SerialPortIdentity& port : QuerySerialPorts()) {
    if (!port.PNPDeviceID.contains(kInstrumentUsbId)) continue;
    const int n = PortNumberFromName(port.Name);
    if (n != 0 && ports.size() < kMaxUsbPorts) ports.push_back(static_cast<uint8_t>(n));
  }
  return ports;
}

std::vector<PortChoice> AvailablePorts(const std::vector<uint8_t>& usbPorts) {
  std::vector<PortChoice> ports;
  for (int n = kMinPortNumber; n <= kMaxPortNumber; ++n) {
    if (!ProbeSerialPort(n)) continue;
    const bool usb = std::find(usbPorts.begin(), usbPorts.end(), n) != usbPorts.end();
    ports.push_back({n, usb});
  }
  return ports;
}

WatchdogStep UsbWatchdogTick() {
  ++KeepAliveTicks;
  ++ReceiveSilenceTicks;
  WatchdogStep step;
  if (UsbMode != 1) return step;
  if (KeepAliveTicks > kKeepAliveAfterTicks) {
    KeepAliveTicks = 0;
    step.sendKeepAlive = true;
  }
  if (ReceiveSilenceTicks > kReopenAfterTicks) {
    ReceiveSilenceTicks = 0;
    step.reopen = true;
  }
  return step;
}
