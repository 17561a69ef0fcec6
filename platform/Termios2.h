#pragma once
// Line settings of a terminal device through the kernel's termios2 interface, which
// takes any baud rate (14400, 56000 and 76800 have no standard constant). Its headers
// clash with <termios.h>, so this lives in a translation unit of its own.

#include "platform/SerialPort.h"

// Raw mode: no line editing, echo, signals or character translation; 8 data bits,
// receiver on, modem control lines ignored for open and hang-up.
bool TtyMakeRaw(int fd);
bool TtyGetLineSettings(int fd, SerialLineSettings& settings);
// Writes rate, character format, parity check and flow control; everything else
// (special characters, raw mode) keeps what the device had. DTR and RTS levels are the
// caller's business.
bool TtySetLineSettings(int fd, const SerialLineSettings& settings);
