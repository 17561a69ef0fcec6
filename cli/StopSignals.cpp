#include "cli/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace {

int gPipe[2] = {-1, -1};
struct sigaction gPreviousInt, gPreviousTerm;

// Only what is safe in a signal handler: one write to the pipe.
void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

StopSignals::StopSignals() {
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (received_) return;
    received_ = true;
    emit Stopped();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, &gPreviousInt);
  sigaction(SIGTERM, &action, &gPreviousTerm);
}

StopSignals::~StopSignals() {
  if (!notifier_) return;
  sigaction(SIGINT, &gPreviousInt, nullptr);
  sigaction(SIGTERM, &gPreviousTerm, nullptr);
  delete notifier_;
  ::close(gPipe[0]);
  ::close(gPipe[1]);
  gPipe[0] = gPipe[1] = -1;
}
