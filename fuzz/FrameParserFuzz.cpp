// The simulated instrument's frame parser on arbitrary input, fed in pieces at moving times.
#include "sim/FrameParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FrameParser parser;
  double now = 0;
  size_t at = 0;
  while (at < size) {
    // Each piece: a length byte, a time step byte, then the bytes.
    const size_t length = std::min<size_t>(data[at] % 64, size - at - 1);
    const double step = at + 1 < size ? data[at + 1] / 100.0 : 0;
    ++at;
    const auto chunks = parser.Feed(std::span<const uint8_t>(data + at, length), now);
    (void)chunks;
    at += length;
    now += step;
  }
  parser.Feed({}, now + 1);
  return 0;
}
