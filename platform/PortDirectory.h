#pragma once
// How the application's port numbers 1 to 255 ("COM<n>") map to devices on Linux.
//
// 1. The port directory: $RXM5620_PORT_DIR when set, else the folder "ports" next to
//    the executable. An entry named COM<n> there (a symbolic link to a tty device or a
//    pseudo-terminal, e.g. made by a udev rule, the instrument simulator or a test)
//    is port n. An entry decides its number even while its target is missing: the port
//    is then absent, it does not fall back to a system device.
//    A file <entry>.pnp beside the link (ports/COM7.pnp) may declare the port's USB
//    identity for the port inventory, in two lines:
//        PNPDeviceID=USB\VID_xxxx&PID_5733\...
//        Name=... (COM7)
// 2. Otherwise the conventional device names, by fixed ranges, so that a device keeps
//    its number across replugs:
//        COM1  to COM32  /dev/ttyS0   to /dev/ttyS31
//        COM33 to COM64  /dev/ttyUSB0 to /dev/ttyUSB31
//        COM65 to COM96  /dev/ttyACM0 to /dev/ttyACM31
//        COM97 to COM255 none (port directory only)
//    RXM5620_SYSTEM_PORTS=0 switches these off, so that only the port directory counts.

#include <string>

inline constexpr int kMinPortNumber = 1;
inline constexpr int kMaxPortNumber = 255;

std::string PortDirectory();
bool SystemPortsEnabled();

// The conventional device of port n ("" outside the ranges), whatever the switch says.
std::string ConventionalDevicePath(int portNumber);
// The device port n maps to now, "" when it maps to none.
std::string PortDevicePath(int portNumber);
// The port number a device node belongs to (a port-directory link to it first, then the
// ranges), 0 when none.
int PortNumberOfDevice(const std::string& devicePath);
