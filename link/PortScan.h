#pragma once
// Port discovery without a window: which serial ports exist, which of them is the
// instrument's USB port, the port number in a USB port's display name, and the USB
// watchdog's decision on each 100 ms tick. The communication window fills its controls
// from these; the batch tool connects with them.

#include <QString>
#include <cstdint>
#include <vector>

// The Plug and Play identifier of the instrument's USB port holds this product number.
inline constexpr const char* kInstrumentUsbId = "5733";

struct PortChoice {
  int number = 0;    // COM number
  bool usb = false;  // the instrument's USB port
};

// The port number in a USB port's display name: from a trailing "(COM<n>)"; a name
// without one by its length (23/31 one digit, 24/32 two, 25/33 three, before the last
// character); 0 when the name holds none.
int PortNumberFromName(const QString& name);

// The COM numbers of the instrument's USB ports, at most 11, in the inventory's order.
std::vector<uint8_t> InstrumentUsbPorts();

// Every port from COM1 to COM255 that can be opened now, in number order, marked when it
// is one of `usbPorts`.
std::vector<PortChoice> AvailablePorts(const std::vector<uint8_t>& usbPorts);

// The watchdog over the USB link. Each 100 ms tick counts KeepAliveTicks and
// ReceiveSilenceTicks; over USB a keep-alive is due after 1 s without one, and after
// 1.5 s without any input the port is to be re-opened (the counters are reset here).
struct WatchdogStep {
  bool sendKeepAlive = false;
  bool reopen = false;
};
WatchdogStep UsbWatchdogTick();

// The keep-alive request's count.
inline constexpr uint16_t kKeepAliveCount = 15;
