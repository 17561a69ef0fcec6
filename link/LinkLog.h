#pragma once
// The link's frame log and counters: every request sent and every answer received, with
// its time, its bytes, what they mean and what became of it, in a ring of the last 2000
// frames (an 8161-byte answer is kept whole); and the counts since the port was opened.
// It sits below every window: the link monitor shows it, the batch tool prints it.

#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

enum class FrameDirection : uint8_t { Request, Answer };

// What became of a frame.
enum class FrameOutcome : uint8_t {
  Sent,           // a request
  Routed,         // an answer taken for the pending request
  BadCrc,         // an answer whose CRC is wrong: dropped, the read asked for again
  WrongLength,    // an answer too short for its block or for a frame: dropped
  NotRouted,      // an answer no pending request takes (an exception, an unknown register)
  LateAfterStop,  // a reading that arrived after sampling stopped (still shown)
};

struct LoggedFrame {
  qint64 TimeMs = 0;  // since the log began
  FrameDirection Direction = FrameDirection::Request;
  FrameOutcome Outcome = FrameOutcome::Sent;
  uint16_t RoutedRegister = 0;  // the pending request's register, for answers
  std::vector<uint8_t> Bytes;

  bool IsError() const {
    return Outcome == FrameOutcome::BadCrc || Outcome == FrameOutcome::WrongLength ||
           Outcome == FrameOutcome::NotRouted;
  }
};

struct LinkCounters {
  uint64_t Requests = 0;
  uint64_t Answers = 0;
  uint64_t CrcErrors = 0;
  uint64_t Retries = 0;    // reads asked for again after no good answer came
  uint64_t Malformed = 0;  // short or unroutable answers
  uint64_t BytesOut = 0;
  uint64_t BytesIn = 0;
  qint64 LastRoundTripMs = -1;
  double MeanRoundTripMs = 0;
  uint64_t RoundTrips = 0;
};

class LinkLog {
 public:
  static constexpr size_t kCapacity = 2000;

  LinkLog();

  void Request(std::span<const uint8_t> bytes);
  void Answer(std::span<const uint8_t> bytes, FrameOutcome outcome, uint16_t routedRegister);
  // An answer whose outcome is known only after it has been handled: logged now, so that
  // the requests its handling sends follow it, and settled once handled.
  LoggedFrame& Answer(std::span<const uint8_t> bytes, uint16_t routedRegister);
  void Settle(LoggedFrame& frame, FrameOutcome outcome);
  void CountRetry() { ++counters_.Retries; }

  // Frames from the oldest kept (0) to the newest.
  size_t Size() const { return size_; }
  const LoggedFrame& At(size_t i) const { return ring_[(first_ + i) % kCapacity]; }
  void Clear();
  // Grows with every change, so a viewer knows when to look again.
  uint64_t Version() const { return version_; }

  const LinkCounters& Counters() const { return counters_; }
  void ResetCounters() { counters_ = LinkCounters{}; }

  // Called with every frame as it is logged (the batch tool's --trace); none by default.
  void (*onFrame)(const LoggedFrame&) = nullptr;

 private:
  LoggedFrame& Next();

  std::vector<LoggedFrame> ring_;
  size_t first_ = 0;
  size_t size_ = 0;
  uint64_t version_ = 0;
  LinkCounters counters_;
  QElapsedTimer clock_;
  qint64 lastRequestMs_ = -1;
};

// The program's link log.
LinkLog& TheLinkLog();

// What the bytes of a frame mean: "addr 2, read, register 41, count 2, CRC ok".
QString DescribeFrame(std::span<const uint8_t> bytes, FrameDirection direction);
// What became of it: "", "routed to register 41", "dropped: bad CRC", …
QString OutcomeText(const LoggedFrame& frame);
// One line of the saved log and of --trace: time, direction, hex, meaning.
QString FrameLine(const LoggedFrame& frame);
