#include "link/LinkState.h"

#include <cstring>

#include "display/ConfigBlocks.h"
#include "link/Frames.h"

uint8_t SlaveAddress = 2;
int UsbMode = 0;
int32_t KeepAliveTicks = 0;
int32_t ReceiveSilenceTicks = 0;
uint8_t SamplingMode = kSamplingIdle;
uint16_t LastReadRegister = 0;
uint16_t LastReadCount = 0;

void ResetLinkState() {
  SlaveAddress = 2;
  UsbMode = 0;
  KeepAliveTicks = 0;
  ReceiveSilenceTicks = 0;
  SamplingMode = kSamplingIdle;
  LastReadRegister = 0;
  LastReadCount = 0;
  std::memset(PendingRequest, 0, sizeof PendingRequest);
  AlarmBlock = AlarmBlockData{};
  InstrumentSetup = InstrumentSetupData{};
}
