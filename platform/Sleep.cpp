#include "platform/Sleep.h"

#include <chrono>
#include <thread>
#include <utility>

namespace {
SleepFunction& CurrentSleep() {
  static SleepFunction function;
  return function;
}
}  // namespace

void Sleep(uint32_t milliseconds) {
  if (const SleepFunction& replacement = CurrentSleep()) {
    replacement(milliseconds);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

SleepFunction SetSleepFunction(SleepFunction replacement) {
  return std::exchange(CurrentSleep(), std::move(replacement));
}
