#pragma once
// A trace of the program's start: with RXM5620_STARTUP_TRACE set, each mark prints one line
// "startup <ms since exec> <what>" on stderr, the time counted from the process's start.
// RXM5620_STARTUP_EXIT=1 ends the program right after the first window is painted, =ready
// once every window is made (for the start-up benchmark).

void StartupMark(const char* what);
bool StartupExitAfterFirstPaint();
bool StartupExitWhenReady();
