#include "link/Frames.h"

#include <cstring>

#include "link/LinkLog.h"
#include "link/LinkPort.h"

uint8_t PendingRequest[kPendingRequestSize];

namespace {
LinkPort* requestPort = nullptr;

bool PortIsOpen() {
  return requestPort != nullptr && requestPort->PortOpen();
}

// Writes address, function and register at the start of `frame`.
void PutHeader(uint8_t* frame, uint8_t address, uint8_t function, uint16_t reg) {
  frame[0] = address;
  frame[1] = function;
  frame[2] = static_cast<uint8_t>(reg >> 8);
  frame[3] = static_cast<uint8_t>(reg & 0xFF);
}

// Appends the CRC of the first `length` bytes and sends length + 2 bytes.
void FinishAndSend(uint8_t* frame, int length) {
  const uint16_t crc = Crc16(frame, static_cast<size_t>(length));
  frame[length] = static_cast<uint8_t>(crc & 0xFF);
  frame[length + 1] = static_cast<uint8_t>(crc >> 8);
  requestPort->WriteBytes(frame, static_cast<uint32_t>(length + 2));
  TheLinkLog().Request(std::span<const uint8_t>(frame, static_cast<size_t>(length + 2)));
}

// The 13-byte frame shared by write-float and write-command: quantity 2, four data bytes.
void PutFourByteWrite(uint8_t* frame, uint8_t address, uint16_t reg, const uint8_t data[4]) {
  PutHeader(frame, address, kFunctionWrite, reg);
  frame[4] = 0x00;
  frame[5] = 0x02;
  frame[6] = 0x04;
  std::memcpy(frame + 7, data, 4);
  FinishAndSend(frame, 11);
}
}  // namespace

void SetLinkPort(LinkPort* port) {
  requestPort = port;
}
LinkPort* CurrentLinkPort() {
  return requestPort;
}

bool SendReadRequest(uint8_t address, uint16_t reg, uint16_t count) {
  if (!PortIsOpen()) return false;
  PutHeader(PendingRequest, address, kFunctionRead, reg);
  PendingRequest[4] = static_cast<uint8_t>(count >> 8);
  PendingRequest[5] = static_cast<uint8_t>(count & 0xFF);
  FinishAndSend(PendingRequest, 6);
  return true;
}

bool SendWriteFloat(uint8_t address, uint16_t reg, float value) {
  if (!PortIsOpen()) return false;
  uint8_t frame[13];
  uint8_t data[4];
  std::memcpy(data, &value, 4);
  PutFourByteWrite(frame, address, reg, data);
  return true;
}

bool SendWriteCommand(uint8_t address, uint16_t reg, uint8_t command) {
  if (!PortIsOpen()) return false;
  const uint8_t data[4] = {command, 0, 0, 0};
  PutFourByteWrite(PendingRequest, address, reg, data);
  return true;
}

bool SendWriteBlock(uint8_t address, uint16_t reg, const uint8_t (&data)[kMaxBlockBytes],
                    int length) {
  if (!PortIsOpen()) return false;
  // A length outside 1 to 64 would run past the block; clamp it to what the block holds.
  if (length < 1) length = 1;
  if (length > kMaxBlockBytes) length = kMaxBlockBytes;
  PutHeader(PendingRequest, address, kFunctionWrite, reg);
  PendingRequest[4] = 0x00;
  PendingRequest[5] = static_cast<uint8_t>(length / 2);
  PendingRequest[6] = static_cast<uint8_t>(length);
  std::memcpy(PendingRequest + 7, data, static_cast<size_t>(length));
  FinishAndSend(PendingRequest, 7 + length);
  return true;
}
