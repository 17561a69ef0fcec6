#include "sim/PtySpeed.h"

// The kernel's own termios2 carries any rate; the C library's termios knows only the
// standard ones, and the two headers cannot be mixed in one file.
#include <asm/termbits.h>
#include <sys/ioctl.h>

int TerminalSpeed(int fd) {
  termios2 t{};
  if (fd < 0 || ioctl(fd, TCGETS2, &t) != 0) return 0;
  return static_cast<int>(t.c_ospeed);
}

bool SetTerminalSpeed(int fd, int bitsPerSecond) {
  termios2 t{};
  if (fd < 0 || ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~CBAUD;
  t.c_cflag |= BOTHER;
  t.c_cflag &= ~(CBAUD << IBSHIFT);
  t.c_cflag |= BOTHER << IBSHIFT;
  t.c_ospeed = t.c_ispeed = static_cast<speed_t>(bitsPerSecond);
  return ioctl(fd, TCSETS2, &t) == 0;
}
