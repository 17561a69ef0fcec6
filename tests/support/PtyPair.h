#pragma once
// A pseudo-terminal pair for serial tests: the test holds the master end and plays the
// instrument; the code under test opens the slave end through a port directory.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class PtyPair {
 public:
  PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
      throw std::runtime_error("no pseudo-terminal");
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("no ptsname");
    slavePath_ = name;
  }
  ~PtyPair() { CloseMaster(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  int Master() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }

  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  // Writes everything to the master, waiting for room; false after `timeoutMs`.
  bool WriteAll(const uint8_t* data, size_t count, int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t done = 0;
    while (done < count) {
      const ssize_t n = ::write(master_, data + done, count - done);
      if (n > 0) {
        done += static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
      if (std::chrono::steady_clock::now() > deadline) return false;
      pollfd out = {master_, POLLOUT, 0};
      ::poll(&out, 1, 20);
    }
    return true;
  }
  bool WriteAll(const std::vector<uint8_t>& bytes) { return WriteAll(bytes.data(), bytes.size()); }

  // Everything the slave side has written so far.
  std::vector<uint8_t> ReadAvailable() {
    std::vector<uint8_t> out;
    uint8_t chunk[4096];
    for (;;) {
      const ssize_t n = ::read(master_, chunk, sizeof chunk);
      if (n <= 0) break;
      out.insert(out.end(), chunk, chunk + n);
    }
    return out;
  }

  // Reads until `count` bytes came, or `timeoutMs` passed.
  std::vector<uint8_t> ReadExactly(size_t count, int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<uint8_t> out;
    while (out.size() < count && std::chrono::steady_clock::now() < deadline) {
      uint8_t chunk[4096];
      const ssize_t n = ::read(master_, chunk, std::min(sizeof chunk, count - out.size()));
      if (n > 0) {
        out.insert(out.end(), chunk, chunk + n);
        continue;
      }
      pollfd in = {master_, POLLIN, 0};
      ::poll(&in, 1, 20);
    }
    return out;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};

// A temporary port directory, installed as RXM5620_PORT_DIR for the object's lifetime.
class ScopedPortDirectory {
 public:
  ScopedPortDirectory() {
    if (const char* old = std::getenv("RXM5620_PORT_DIR")) previous_ = old;
    ::setenv("RXM5620_PORT_DIR", dir_.path().toStdString().c_str(), 1);
  }
  ~ScopedPortDirectory() {
    if (previous_)
      ::setenv("RXM5620_PORT_DIR", previous_->c_str(), 1);
    else
      ::unsetenv("RXM5620_PORT_DIR");
  }
  std::string Path() const { return dir_.path().toStdString(); }
  // Presents `target` as port n.
  void Link(int portNumber, const std::string& target) {
    const std::filesystem::path link = EntryPath(portNumber);
    std::filesystem::remove(link);
    std::filesystem::create_symlink(target, link);
  }
  std::string EntryPath(int portNumber) const {
    return Path() + "/COM" + std::to_string(portNumber);
  }

 private:
  QTemporaryDir dir_;
  std::optional<std::string> previous_;
};

// Runs the event loop until `condition` holds; false after `timeoutMs`. Waiting has a
// generous limit only so that a broken build fails instead of hanging.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ::usleep(1000);
  }
  return true;
}

// Waits for `condition` without running the event loop, so that no timer fires meanwhile.
template <typename Condition>
bool WaitWithoutEvents(Condition condition, int timeoutMs = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    ::usleep(1000);
  }
  return true;
}

inline std::vector<uint8_t> Pattern(size_t count, uint32_t seed = 1) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = static_cast<uint8_t>(seed >> 16);
  }
  return bytes;
}
