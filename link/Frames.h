#pragma once
// Request frames to the instrument. Header fields are big-endian, floats least
// significant byte first, the CRC low byte first. Each builder writes its whole frame to
// the current link port in one call.

#include <cstddef>
#include <cstdint>

#include "display/WireFormat.h"

inline constexpr int kPendingRequestSize = 128;
inline constexpr int kMaxBlockBytes = 64;

// The last read, write-command or write-block frame sent; the dispatcher routes each
// answer by its bytes 2 and 3. A write-float frame does not touch it.
extern uint8_t PendingRequest[kPendingRequestSize];

// Each returns false, builds nothing and leaves PendingRequest as it was when the port
// is not open; otherwise it writes the frame and returns true.
bool SendReadRequest(uint8_t address, uint16_t reg, uint16_t count);
bool SendWriteFloat(uint8_t address, uint16_t reg, float value);
bool SendWriteCommand(uint8_t address, uint16_t reg, uint8_t command);
// Sends the first `length` bytes (1 to 64) of `data`.
bool SendWriteBlock(uint8_t address, uint16_t reg, const uint8_t (&data)[kMaxBlockBytes],
                    int length);
