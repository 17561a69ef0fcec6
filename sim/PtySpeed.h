#pragma once
// The line speed the application set on its end of the pseudo-terminal. A pseudo-terminal
// keeps the speed it is given without using it; the simulator reads it to pace as the
// application expects.

// Output speed in bit/s of the terminal open as `fd`, 0 when it cannot be read.
int TerminalSpeed(int fd);
// Sets input and output speed to any rate in bit/s; false when the terminal refuses.
bool SetTerminalSpeed(int fd, int bitsPerSecond);
