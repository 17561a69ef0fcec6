#include "platform/StartupTrace.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Milliseconds since the process started: now on the boot clock less the start time the
// kernel keeps for the process (in clock ticks since boot).
double MsSinceExec() {
  long long startTicks = 0;
  if (FILE* f = std::fopen("/proc/self/stat", "r")) {
    char buffer[1024];
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
    std::fclose(f);
    buffer[n] = '\0';
    // Field 22, counted after the command name's closing parenthesis (field 2).
    const char* p = std::strrchr(buffer, ')');
    for (int field = 2; p != nullptr && field < 22; ++field) p = std::strchr(p + 1, ' ');
    if (p != nullptr) startTicks = std::atoll(p + 1);
  }
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
  return nowMs - startTicks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

void StartupMark(const char* what) {
  static const bool enabled = std::getenv("RXM5620_STARTUP_TRACE") != nullptr;
  if (enabled) std::fprintf(stderr, "startup %8.1f %s\n", MsSinceExec(), what);
}

bool StartupExitAfterFirstPaint() {
  const char* value = std::getenv("RXM5620_STARTUP_EXIT");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

bool StartupExitWhenReady() {
  const char* value = std::getenv("RXM5620_STARTUP_EXIT");
  return value != nullptr && std::strcmp(value, "ready") == 0;
}
