#include "sim/SimRunner.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <random>
#include <stdexcept>

namespace {

constexpr double kPacingTick = 0.005;  // seconds between writes of a paced answer
constexpr double kIdleTick = SimulatedMeter::kCyclePeriod;

const Scenario& ScenarioOf(const SimOptions& options) {
  const Scenario* s = FindScenario(options.scenario);
  if (s == nullptr) throw std::runtime_error("no scenario \"" + options.scenario + "\"");
  return *s;
}

std::unique_ptr<FrameLog> OpenLog(const std::string& path, std::ofstream& file) {
  if (path.empty()) return nullptr;
  file.open(path, std::ios::out | std::ios::trunc);
  if (!file) throw std::runtime_error("cannot write the log " + path);
  return std::make_unique<FrameLog>(file);
}

}  // namespace

uint64_t RandomSeed() {
  std::random_device device;
  return (static_cast<uint64_t>(device()) << 32 | device()) % 1000000000ull;
}

SimRunner::SimRunner(const SimOptions& options, std::ostream& status)
    : options_(options),
      status_(status),
      log_(OpenLog(options.logPath, logFile_)),
      meter_(ScenarioOf(options), options.seed),
      engine_(meter_, options.address, ParseFaults(options.faults), log_.get()),
      link_(options.link, options.usb ? PortNumberFromLinkName(options.link) : 0) {}

void SimRunner::Start(double now) {
  if (engine_.Faults().vanish.Contains(now)) return;
  link_.Open();
  status_ << "rxm5620-sim: instrument ready on " << link_.LinkPath() << " (" << link_.Device()
          << "), address " << int(options_.address) << ", scenario " << options_.scenario
          << ", seed " << options_.seed;
  const double rate = options_.BytesPerSecond(true);
  if (options_.baud == kAutoBaud) {
    status_ << ", pacing at the speed the application sets";
  } else if (rate > 0) {
    status_ << ", " << rate * options_.byteBits << " baud";
  } else {
    status_ << ", unpaced";
  }
  if (options_.usb) status_ << ", USB (" << link_.IdentityPath() << ")";
  status_ << std::endl;
}

void SimRunner::FollowVanishFault(double now) {
  const bool gone = engine_.Faults().vanish.Contains(now);
  if (gone && link_.IsOpen()) {
    link_.Close();
    engine_.ResetLine();
    pending_.clear();
    lineFreeAt_ = 0;
    if (log_) log_->Event("port unplugged");
    status_ << "rxm5620-sim: " << options_.link << " unplugged" << std::endl;
  } else if (!gone && !link_.IsOpen()) {
    link_.Open();
    if (log_) log_->Event("port plugged in again on " + link_.Device());
    status_ << "rxm5620-sim: " << options_.link << " back (" << link_.Device() << ")" << std::endl;
  }
}

void SimRunner::ReadInput(double now) {
  std::vector<uint8_t> input;
  uint8_t chunk[4096];
  for (;;) {
    const ssize_t n = read(link_.MasterFd(), chunk, sizeof chunk);
    if (n <= 0) break;
    input.insert(input.end(), chunk, chunk + n);
  }
  for (Answer& answer : engine_.Receive(input, now)) {
    const double rate = options_.BytesPerSecond(answer.reading, link_.LineSpeed());
    pending_.push_back({std::move(answer), rate});
  }
  if (engine_.HostLeft() && !reportedLeave_) {
    status_ << "rxm5620-sim: the application has left" << std::endl;
    reportedLeave_ = true;
  } else if (!engine_.HostLeft()) {
    reportedLeave_ = false;
  }
}

void SimRunner::WriteOutput(double now) {
  if (blockedSince_ >= 0 && now - blockedSince_ > kStalledSeconds) {
    if (log_) log_->Event("nobody reads the port; unsent answers dropped");
    pending_.clear();
    link_.DiscardUnread();
    lineFreeAt_ = 0;
    blockedSince_ = -1;
    return;
  }
  while (!pending_.empty()) {
    Outgoing& out = pending_.front();
    if (out.start < 0) {
      const double start = std::max(out.answer.sendAt, lineFreeAt_);
      if (start > now) return;
      out.start = start;
      if (log_) log_->Sent(out.answer.bytes, out.answer.note);
    }
    const size_t size = out.answer.bytes.size();
    size_t due = size;
    if (out.rate > 0) {
      // The first byte goes at the start, then one every 1/rate seconds.
      const double elapsed = std::max(0.0, now - out.start);
      due = std::min(size, static_cast<size_t>(std::floor(elapsed * out.rate)) + 1);
    }
    while (out.sent < due) {
      const ssize_t n = write(link_.MasterFd(), out.answer.bytes.data() + out.sent, due - out.sent);
      if (n <= 0) {
        // The pseudo-terminal is full; go on when it drains.
        if (blockedSince_ < 0) blockedSince_ = now;
        return;
      }
      out.sent += static_cast<size_t>(n);
      blockedSince_ = -1;
    }
    if (out.sent < size) return;
    lineFreeAt_ = out.rate > 0 ? out.start + static_cast<double>(size) / out.rate : now;
    pending_.pop_front();
  }
}

void SimRunner::Step(double now) {
  FollowVanishFault(now);
  if (link_.IsOpen()) {
    ReadInput(now);
    WriteOutput(now);
  }
  meter_.AdvanceTo(now);
}

double SimRunner::NextWakeup(double now) const {
  double next = kIdleTick;
  if (!pending_.empty()) {
    const Outgoing& out = pending_.front();
    if (out.start >= 0) {
      next = out.rate > 0 ? kPacingTick : 0.001;
    } else {
      next = std::max(0.0, std::max(out.answer.sendAt, lineFreeAt_) - now);
    }
  }
  const FaultWindow& vanish = engine_.Faults().vanish;
  if (vanish.Active()) {
    const double inPeriod =
        now < vanish.period ? now - vanish.period : std::fmod(now, vanish.period);
    const double untilChange = inPeriod < 0 ? -inPeriod
                                            : (inPeriod < vanish.length ? vanish.length - inPeriod
                                                                        : vanish.period - inPeriod);
    next = std::min(next, untilChange + 1e-3);
  }
  return std::min(next, kIdleTick);
}

int SimRunner::Run(const volatile std::sig_atomic_t& stop) {
  const auto origin = std::chrono::steady_clock::now();
  auto clock = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - origin).count();
  };
  Start(clock());
  while (!stop) {
    const double now = clock();
    Step(now);
    const double wait = NextWakeup(now);
    pollfd fd{link_.MasterFd(), POLLIN, 0};
    const int timeout = static_cast<int>(std::ceil(wait * 1000));
    if (link_.IsOpen()) {
      poll(&fd, 1, timeout);
    } else {
      poll(nullptr, 0, timeout);
    }
  }
  link_.Close();
  status_ << "rxm5620-sim: stopped, " << options_.link << " removed" << std::endl;
  return 0;
}
