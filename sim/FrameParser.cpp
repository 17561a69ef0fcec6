#include "sim/FrameParser.h"

#include "display/WireFormat.h"

int RequestFrameLength(std::span<const uint8_t> head) {
  if (head.size() < 2) return -1;
  if (head[1] == kFunctionRead) return 8;
  if (head[1] != kFunctionWrite) return 0;
  if (head.size() < 7) return -1;
  return 9 + head[6];
}

FrameParser::Candidate FrameParser::Check(size_t start, size_t& length) const {
  const std::span<const uint8_t> rest(buffer_.data() + start, buffer_.size() - start);
  const int needed = RequestFrameLength(rest);
  if (needed == 0) return Candidate::kInvalid;
  if (needed < 0 || rest.size() < static_cast<size_t>(needed)) return Candidate::kIncomplete;
  length = static_cast<size_t>(needed);
  const uint16_t crc = Crc16(rest.data(), length - 2);
  const bool right = rest[length - 2] == (crc & 0xFF) && rest[length - 1] == (crc >> 8);
  return right ? Candidate::kValid : Candidate::kInvalid;
}

std::vector<ParsedChunk> FrameParser::Feed(std::span<const uint8_t> bytes, double now) {
  std::vector<ParsedChunk> out;
  std::vector<uint8_t> skipped;
  auto flushSkipped = [&] {
    if (skipped.empty()) return;
    out.push_back({false, std::move(skipped)});
    skipped.clear();
  };
  auto skip = [&](size_t count) {
    skipped.insert(skipped.end(), buffer_.begin(), buffer_.begin() + static_cast<long>(count));
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<long>(count));
  };

  if (!buffer_.empty() && now - lastInput_ > kStaleSeconds) skip(buffer_.size());
  if (!bytes.empty()) {
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    lastInput_ = now;
  }
  if (buffer_.size() > kMaxBuffered) skip(buffer_.size() - kMaxBuffered);

  while (!buffer_.empty()) {
    size_t length = 0;
    const Candidate first = Check(0, length);
    if (first == Candidate::kValid) {
      flushSkipped();
      out.push_back({true, {buffer_.begin(), buffer_.begin() + static_cast<long>(length)}});
      buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<long>(length));
      continue;
    }
    if (first == Candidate::kInvalid) {
      skip(1);
      continue;
    }
    // The head waits for more bytes; but if a whole valid frame follows it, the head was
    // the remains of a broken frame.
    size_t next = 1;
    while (next < buffer_.size() && Check(next, length) != Candidate::kValid) ++next;
    if (next == buffer_.size()) break;
    skip(next);
  }
  flushSkipped();
  return out;
}
