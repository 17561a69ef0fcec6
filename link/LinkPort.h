#pragma once
// What the request builders and the dispatcher need of the serial port: whether it is
// open, one synchronous write of a frame, and all bytes received since the last take.

#include <cstdint>
#include <span>

class LinkPort {
 public:
  virtual ~LinkPort() = default;
  virtual bool PortOpen() const = 0;
  // Writes `count` bytes in one call. Returns false (after telling the user) when no
  // port is open; true otherwise, whatever the device did with them.
  virtual bool WriteBytes(const uint8_t* data, uint32_t count) = 0;
  // Collects the queued input and returns the bytes of the last read.
  virtual std::span<const uint8_t> ReadInputBytes() = 0;
};

// The port every request goes out through (the main window's Comm1). May be null.
void SetLinkPort(LinkPort* port);
LinkPort* CurrentLinkPort();
