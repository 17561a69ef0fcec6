#pragma once
// Runs the simulated instrument on its pseudo-terminal: reads the requests, lets the
// protocol engine answer them, writes the answers paced at the line rate, and carries
// out the time-based faults (the port vanishing and coming back). Step() does one turn
// at a given time, so tests can drive it with their own clock; Run() is the real loop.

#include <csignal>
#include <deque>
#include <fstream>
#include <memory>
#include <ostream>

#include "sim/FrameLog.h"
#include "sim/ProtocolEngine.h"
#include "sim/PtyLink.h"
#include "sim/SimOptions.h"
#include "sim/SimulatedMeter.h"

class SimRunner {
 public:
  // `status` receives the lines a user sees (ready, unplugged, back, left).
  SimRunner(const SimOptions& options, std::ostream& status);

  // Output that cannot move for this long has no reader: the application closed the port.
  static constexpr double kStalledSeconds = 2.0;

  // Opens the port; throws std::runtime_error when it cannot.
  void Start(double now);
  void Step(double now);
  // Seconds until Step() has work again, unless input arrives first.
  double NextWakeup(double now) const;
  // Steps on the monotonic clock until `stop` is set; returns the exit code.
  int Run(const volatile std::sig_atomic_t& stop);

  PtyLink& Link() { return link_; }
  SimulatedMeter& Meter() { return meter_; }
  size_t PendingAnswers() const { return pending_.size(); }

 private:
  struct Outgoing {
    Answer answer;
    double rate = 0;  // bytes a second, 0 at once
    double start = -1;
    size_t sent = 0;
  };
  void ReadInput(double now);
  void WriteOutput(double now);
  void FollowVanishFault(double now);

  SimOptions options_;
  std::ostream& status_;
  std::ofstream logFile_;
  std::unique_ptr<FrameLog> log_;
  SimulatedMeter meter_;
  ProtocolEngine engine_;
  PtyLink link_;
  std::deque<Outgoing> pending_;
  double lineFreeAt_ = 0;     // when the last paced answer has left the line
  double blockedSince_ = -1;  // when the pseudo-terminal stopped taking output, or -1
  bool reportedLeave_ = false;
};

// A random seed for a run without --seed.
uint64_t RandomSeed();
