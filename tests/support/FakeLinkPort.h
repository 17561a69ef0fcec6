#pragma once
// A port that records every write and hands out queued input, for the frame builders and
// the dispatcher.

#include <cstdint>
#include <span>
#include <vector>

#include "link/LinkPort.h"

class FakeLinkPort : public LinkPort {
 public:
  bool open = true;
  std::vector<std::vector<uint8_t>> writes;
  std::vector<uint8_t> input;  // taken whole by the next ReadInputBytes

  bool PortOpen() const override { return open; }
  bool WriteBytes(const uint8_t* data, uint32_t count) override {
    writes.emplace_back(data, data + count);
    return open;
  }
  std::span<const uint8_t> ReadInputBytes() override {
    if (!input.empty()) {
      last_ = std::move(input);
      input.clear();
    }
    return last_;
  }

 private:
  std::vector<uint8_t> last_;
};

// Installs a port as the request port for the lifetime of a test.
class ScopedLinkPort {
 public:
  explicit ScopedLinkPort(LinkPort* port) : previous_(CurrentLinkPort()) { SetLinkPort(port); }
  ~ScopedLinkPort() { SetLinkPort(previous_); }

 private:
  LinkPort* previous_;
};
