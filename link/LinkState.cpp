#include "link/LinkState.h"

uint8_t SlaveAddress = 2;
int UsbMode = 0;
int32_t KeepAliveTicks = 0;
int32_t ReceiveSilenceTicks = 0;
uint8_t SamplingMode = kSamplingIdle;
uint16_t LastReadRegister = 0;
uint16_t LastReadCount = 0;
