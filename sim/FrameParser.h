#pragma once
// Cuts the byte stream from the line into request frames. A frame is taken only when its
// CRC is right; bytes that start no valid frame (noise, a corrupted or cut frame) are
// skipped, and the parser finds its way back to the next valid frame.

#include <cstdint>
#include <span>
#include <vector>

struct ParsedChunk {
  bool valid;  // a whole frame with a right CRC, or skipped bytes
  std::vector<uint8_t> bytes;
};

class FrameParser {
 public:
  // Incomplete input older than this is dropped: the sender has given up on it.
  static constexpr double kStaleSeconds = 0.5;
  static constexpr size_t kMaxBuffered = 1024;

  // Adds the bytes received at `now` and returns the frames and skipped runs, in order.
  // Call it with no bytes to let stale input expire.
  std::vector<ParsedChunk> Feed(std::span<const uint8_t> bytes, double now);
  void Clear() { buffer_.clear(); }
  size_t Buffered() const { return buffer_.size(); }

 private:
  enum class Candidate { kValid, kInvalid, kIncomplete };
  Candidate Check(size_t start, size_t& length) const;

  std::vector<uint8_t> buffer_;
  double lastInput_ = 0;
};

// Length of a request frame from its first bytes: 8 for a read, 9 + n for a write of n
// bytes; 0 when the function code starts no request; -1 when more bytes are needed.
int RequestFrameLength(std::span<const uint8_t> head);
