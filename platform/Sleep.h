#pragma once
// Blocking sleep of the calling thread. The link waits for long answers this way on the
// user-interface thread; tests replace the function so that nothing really sleeps.

#include <cstdint>
#include <functional>

using SleepFunction = std::function<void(uint32_t milliseconds)>;

void Sleep(uint32_t milliseconds);

// Installs `replacement` (an empty function restores the real sleep) and returns the
// function that was installed before.
SleepFunction SetSleepFunction(SleepFunction replacement);
