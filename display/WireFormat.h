#pragma once
// What every frame on the instrument's line shares, for the application and the
// simulated instrument alike: the function codes, the CRC-16/MODBUS (sent low byte
// first) and the little-endian floats inside the payloads.

#include <cstddef>
#include <cstdint>

inline constexpr uint8_t kFunctionRead = 0x03;
inline constexpr uint8_t kFunctionWrite = 0x10;
inline constexpr uint8_t kFunctionWriteAck = 0x09;

uint16_t Crc16(const uint8_t* bytes, size_t length);

float BytesToFloat(const uint8_t bytes[4]);
