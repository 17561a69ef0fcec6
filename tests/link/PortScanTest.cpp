#include "link/PortScan.h"

#include <gtest/gtest.h>

#include "link/LinkState.h"

namespace {

// One 100 ms tick of the watchdog from the given counters.
struct WatchdogCase {
  const char* name;
  int usbMode;
  int32_t keepAliveTicks, silenceTicks;  // before the tick
  bool keepAlive, reopen;
  int32_t keepAliveAfter, silenceAfter;
};

const WatchdogCase kWatchdogCases[] = {
    {"plain port never acts", 0, 50, 50, false, false, 51, 51},
    {"USB, quiet for 0.9 s", 1, 9, 9, false, false, 10, 10},
    {"USB, keep-alive due after 1 s", 1, 10, 3, true, false, 0, 4},
    {"USB, no input for 1.5 s", 1, 2, 15, false, true, 3, 0},
    {"USB, both at once", 1, 10, 15, true, true, 0, 0},
};

TEST(PortScan, WatchdogDecidesFromItsCounters) {
  for (const WatchdogCase& c : kWatchdogCases) {
    SCOPED_TRACE(c.name);
    ResetLinkState();
    UsbMode = c.usbMode;
    KeepAliveTicks = c.keepAliveTicks;
    ReceiveSilenceTicks = c.silenceTicks;
    const WatchdogStep step = UsbWatchdogTick();
    EXPECT_EQ(step.sendKeepAlive, c.keepAlive);
    EXPECT_EQ(step.reopen, c.reopen);
    EXPECT_EQ(KeepAliveTicks, c.keepAliveAfter);
    EXPECT_EQ(ReceiveSilenceTicks, c.silenceAfter);
  }
  ResetLinkState();
}

}  // namespace
