#pragma once
// The serial port inventory: every serial port the system knows now, with its Plug and
// Play identifier and display name, as the port scan needs them to recognise the
// instrument's USB port.
//
// On Linux the identity comes from
// - a port-directory entry COM<n> with a file COM<n>.pnp beside it, which declares it in
//   two lines "PNPDeviceID=..." and "Name=..." (the instrument simulator writes one);
// - otherwise, for a device that sits on USB (ttyUSB*, ttyACM*, or a port-directory link
//   to one), sysfs: "USB\VID_vvvv&PID_pppp\serial" and "<product> (COM<n>)";
// - otherwise a plain identifier "SERIAL\COM<n>" and the name "Communications Port (COM<n>)".

#include <QString>
#include <vector>

struct SerialPortIdentity {
  QString PNPDeviceID;
  QString Name;
};

// In port-number order; ports whose number maps to no existing device are left out.
std::vector<SerialPortIdentity> QuerySerialPorts();

// The identity of one device as sysfs tells it, given the kernel's tty name ("ttyUSB0");
// false when the device is not on USB. `sysfsRoot` is "/sys" outside tests.
bool UsbIdentityFromSysfs(const QString& sysfsRoot, const QString& ttyName,
                          SerialPortIdentity& identity, int portNumber);
