#include "platform/Termios2.h"

// Only the kernel's own headers here: <termios.h> defines the same names differently.
#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace {

struct StandardRate {
  uint32_t rate;
  unsigned code;
};
constexpr StandardRate kStandardRates[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600}};

unsigned CodeOfRate(uint32_t rate) {
  for (const StandardRate& r : kStandardRates)
    if (r.rate == rate) return r.code;
  return BOTHER;
}

bool Get(int fd, termios2& t) {
  return ioctl(fd, TCGETS2, &t) == 0;
}
bool Set(int fd, const termios2& t) {
  return ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace

bool TtyMakeRaw(int fd) {
  termios2 t;
  if (!Get(fd, t)) return false;
  t.c_iflag &= ~(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR | ICRNL |
                 IUCLC | IXON | IXANY | IXOFF | IMAXBEL);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL | ECHOPRT | ECHOKE |
                 IEXTEN | TOSTOP);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | CREAD | CLOCAL;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return Set(fd, t);
}

bool TtyGetLineSettings(int fd, SerialLineSettings& s) {
  termios2 t;
  if (!Get(fd, t)) return false;
  const unsigned code = t.c_cflag & CBAUD;
  s.baudRate = t.c_ospeed;
  for (const StandardRate& r : kStandardRates)
    if (code == r.code) s.baudRate = r.rate;
  switch (t.c_cflag & CSIZE) {
    case CS5:
      s.dataBits = 5;
      break;
    case CS6:
      s.dataBits = 6;
      break;
    case CS7:
      s.dataBits = 7;
      break;
    default:
      s.dataBits = 8;
      break;
  }
  if (!(t.c_cflag & PARENB)) {
    s.parity = SerialParity::None;
  } else if (t.c_cflag & CMSPAR) {
    s.parity = (t.c_cflag & PARODD) ? SerialParity::Mark : SerialParity::Space;
  } else {
    s.parity = (t.c_cflag & PARODD) ? SerialParity::Odd : SerialParity::Even;
  }
  s.stopBits = (t.c_cflag & CSTOPB) ? SerialStopBits::Two : SerialStopBits::One;
  s.parityCheck = (t.c_iflag & INPCK) != 0;
  s.ctsFlow = (t.c_cflag & CRTSCTS) != 0;
  if (s.ctsFlow) s.rts = SerialLineControl::Handshake;
  s.xonXoffOutput = (t.c_iflag & IXON) != 0;
  s.xonXoffInput = (t.c_iflag & IXOFF) != 0;
  return true;
}

bool TtySetLineSettings(int fd, const SerialLineSettings& s) {
  termios2 t;
  if (!Get(fd, t)) return false;
  // Input speed follows the output speed (CIBAUD zero).
  t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= CodeOfRate(s.baudRate);
  t.c_ispeed = s.baudRate;
  t.c_ospeed = s.baudRate;

  t.c_cflag &= ~CSIZE;
  switch (s.dataBits) {
    case 5:
      t.c_cflag |= CS5;
      break;
    case 6:
      t.c_cflag |= CS6;
      break;
    case 7:
      t.c_cflag |= CS7;
      break;
    default:
      t.c_cflag |= CS8;
      break;
  }
  t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
  switch (s.parity) {
    case SerialParity::None:
      break;
    case SerialParity::Odd:
      t.c_cflag |= PARENB | PARODD;
      break;
    case SerialParity::Even:
      t.c_cflag |= PARENB;
      break;
    case SerialParity::Mark:
      t.c_cflag |= PARENB | CMSPAR | PARODD;
      break;
    case SerialParity::Space:
      t.c_cflag |= PARENB | CMSPAR;
      break;
  }
  // The line has no one-and-a-half setting of its own: with 5 data bits CSTOPB gives it.
  if (s.stopBits == SerialStopBits::One)
    t.c_cflag &= ~CSTOPB;
  else
    t.c_cflag |= CSTOPB;
  // One flag covers both directions of hardware flow control.
  if (s.ctsFlow || s.rts == SerialLineControl::Handshake)
    t.c_cflag |= CRTSCTS;
  else
    t.c_cflag &= ~CRTSCTS;

  t.c_iflag &= ~(INPCK | IXON | IXOFF);
  if (s.parityCheck) t.c_iflag |= INPCK;
  if (s.xonXoffOutput) t.c_iflag |= IXON;
  if (s.xonXoffInput) t.c_iflag |= IXOFF;
  return Set(fd, t);
}
