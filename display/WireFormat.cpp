#include "display/WireFormat.h"

#include <array>
#include <cstring>

uint16_t Crc16(const uint8_t* bytes, size_t length) {
  // Byte-wise table of the bitwise CRC-16/MODBUS (polynomial 0xA001 reflected).
  static constexpr auto kTable = [] {
    std::array<uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
      uint16_t crc = static_cast<uint16_t>(byte);
      for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
      table[byte] = crc;
    }
    return table;
  }();
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < length; ++i) crc = (crc >> 8) ^ kTable[(crc ^ bytes[i]) & 0xFF];
  return crc;
}

float BytesToFloat(const uint8_t bytes[4]) {
  float value;
  std::memcpy(&value, bytes, 4);
  return value;
}
