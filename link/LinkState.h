#pragma once
// Link state shared by the dispatcher, sampling control and the communication window.

#include <cstdint>

extern uint8_t SlaveAddress;         // the instrument's address in every frame
extern int UsbMode;                  // 1 while the connected port is the instrument's USB port
extern int32_t KeepAliveTicks;       // 100 ms ticks since the last keep-alive
extern int32_t ReceiveSilenceTicks;  // 100 ms ticks since the last input
extern uint8_t SamplingMode;         // 0 idle, 1 single reading, 2 continuous
extern uint16_t LastReadRegister;    // register of the last read sampling or a window started
extern uint16_t LastReadCount;       // and its count; every re-send uses these

enum SamplingModes : uint8_t { kSamplingIdle = 0, kSamplingSingle = 1, kSamplingContinuous = 2 };

// Puts the link state, PendingRequest, AlarmBlock and InstrumentSetup back as at program
// start: address 2, idle, not USB, all counters and blocks zero.
void ResetLinkState();
