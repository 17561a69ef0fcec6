#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/PortDirectory.h"
#include "platform/SerialPort.h"
#include "platform/Termios2.h"

namespace {

constexpr uint32_t kDefaultQueueBytes = 16384;
constexpr uint32_t kMaxQueueBytes = 1 << 20;
// A write may wait this long beyond the time the line needs for its bytes (flow control
// held, output buffer full); then it gives up instead of hanging the caller.
constexpr int kWriteGraceMs = 1000;

// Opens a tty without blocking on carrier and without making it the controlling
// terminal, and takes the advisory lock that marks it as ours. -1 with errno on failure.
int OpenExclusive(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  int error = 0;
  if (!::isatty(fd)) {
    error = ENOTTY;
  } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = EBUSY;
  }
  if (error != 0) {
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

// A byte ring of fixed capacity.
class ByteQueue {
 public:
  explicit ByteQueue(uint32_t capacity) : bytes_(capacity) {}
  uint32_t Size() const { return size_; }
  uint32_t Capacity() const { return static_cast<uint32_t>(bytes_.size()); }
  // Appends what fits; returns false when bytes had to be dropped.
  bool Push(const uint8_t* data, uint32_t count) {
    const uint32_t fits = std::min(count, Capacity() - size_);
    for (uint32_t i = 0; i < fits; ++i) bytes_[(head_ + size_ + i) % Capacity()] = data[i];
    size_ += fits;
    return fits == count;
  }
  uint32_t Pop(uint8_t* out, uint32_t count) {
    const uint32_t taken = std::min(count, size_);
    for (uint32_t i = 0; i < taken; ++i) out[i] = bytes_[(head_ + i) % Capacity()];
    head_ = (head_ + taken) % Capacity();
    size_ -= taken;
    return taken;
  }
  void Clear() { head_ = size_ = 0; }
  // Keeps the oldest bytes that fit into the new capacity.
  void Resize(uint32_t capacity) {
    std::vector<uint8_t> kept(std::min(size_, capacity));
    Pop(kept.data(), static_cast<uint32_t>(kept.size()));
    bytes_.assign(capacity, 0);
    head_ = size_ = 0;
    Push(kept.data(), static_cast<uint32_t>(kept.size()));
  }

 private:
  std::vector<uint8_t> bytes_;
  uint32_t head_ = 0;
  uint32_t size_ = 0;
};

}  // namespace

struct SerialPort::Impl {
  std::string path;
  mutable std::mutex mutex;
  int fd = -1;  // -1 once the device is lost
  int wake = -1;
  ByteQueue queue{kDefaultQueueBytes};
  uint32_t errors = 0;
  bool lost = false;
  uint32_t baudRate = 9600;
  SerialLineControl dtr = SerialLineControl::Enable;  // a tty raises both lines at open
  SerialLineControl rts = SerialLineControl::Enable;
  serial_icounter_struct counts{};
  bool haveCounts = false;
  std::thread reader;

  ~Impl() {
    if (reader.joinable()) {
      const uint64_t one = 1;
      [[maybe_unused]] ssize_t ignored = ::write(wake, &one, sizeof one);
      reader.join();
    }
    if (wake >= 0) ::close(wake);
    if (fd >= 0) {
      ::ioctl(fd, TIOCNXCL);
      ::close(fd);
    }
  }

  // Releases the device at once, so that a replugged one gets its name back.
  void LoseLocked() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    lost = true;
  }

  // Adds the UART's error counters that grew since the last look (real UARTs only).
  void CollectLineErrorsLocked() {
    serial_icounter_struct now{};
    if (fd < 0 || ::ioctl(fd, TIOCGICOUNT, &now) != 0) return;
    if (haveCounts) {
      if (now.overrun != counts.overrun || now.buf_overrun != counts.buf_overrun)
        errors |= kSerialErrorOverrun;
      if (now.parity != counts.parity) errors |= kSerialErrorParity;
      if (now.frame != counts.frame) errors |= kSerialErrorFrame;
      if (now.brk != counts.brk) errors |= kSerialErrorBreak;
    }
    counts = now;
    haveCounts = true;
  }

  // Drains the device into the queue until it goes away or the port closes. Full queue:
  // the bytes are still taken from the device and dropped, as a driver does.
  void ReadLoop(int device) {
    uint8_t chunk[4096];
    for (;;) {
      pollfd fds[2] = {{device, POLLIN, 0}, {wake, POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        std::lock_guard lock(mutex);
        LoseLocked();
        return;
      }
      if (fds[1].revents != 0) return;
      if (fds[0].revents == 0) continue;
      const bool hungUp = (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
      std::lock_guard lock(mutex);
      const ssize_t n = ::read(device, chunk, sizeof chunk);
      if (n > 0) {
        if (!queue.Push(chunk, static_cast<uint32_t>(n))) errors |= kSerialErrorQueueOverflow;
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR) && !hungUp) continue;
      LoseLocked();  // end of file, EIO/ENXIO, or a hang-up with nothing left to read
      return;
    }
  }
};

SerialPort::SerialPort(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SerialPort::~SerialPort() = default;

std::unique_ptr<SerialPort> SerialPort::Open(int portNumber) {
  const std::string path = PortDevicePath(portNumber);
  if (path.empty()) {
    errno = ENOENT;
    return nullptr;
  }
  return OpenPath(path);
}

std::unique_ptr<SerialPort> SerialPort::OpenPath(const std::string& devicePath) {
  const int fd = OpenExclusive(devicePath);
  if (fd < 0) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->path = devicePath;
  impl->fd = fd;
  ::ioctl(fd, TIOCEXCL);  // keeps further opens out (root excepted; the lock covers that)
  if (!TtyMakeRaw(fd)) {
    const int error = errno;
    impl.reset();
    errno = error;
    return nullptr;
  }
  impl->wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (impl->wake < 0) {
    const int error = errno;
    impl.reset();
    errno = error;
    return nullptr;
  }
  {
    std::lock_guard lock(impl->mutex);
    impl->CollectLineErrorsLocked();
  }
  try {
    impl->reader = std::thread(&Impl::ReadLoop, impl.get(), fd);
  } catch (const std::system_error&) {
    impl.reset();
    errno = EAGAIN;
    return nullptr;
  }
  return std::unique_ptr<SerialPort>(new SerialPort(std::move(impl)));
}

bool SerialPort::SetupQueues(uint32_t inputBytes, uint32_t outputBytes) {
  if (inputBytes == 0 || inputBytes > kMaxQueueBytes || outputBytes > kMaxQueueBytes) return false;
  std::lock_guard lock(impl_->mutex);
  impl_->queue.Resize(inputBytes);
  return true;
}

void SerialPort::Purge(unsigned what) {
  std::lock_guard lock(impl_->mutex);
  if (what & kPurgeInput) {
    impl_->queue.Clear();
    if (impl_->fd >= 0) ::tcflush(impl_->fd, TCIFLUSH);
  }
  if ((what & kPurgeOutput) && impl_->fd >= 0) ::tcflush(impl_->fd, TCOFLUSH);
}

bool SerialPort::GetLineSettings(SerialLineSettings& settings) const {
  std::lock_guard lock(impl_->mutex);
  if (impl_->fd < 0 || !TtyGetLineSettings(impl_->fd, settings)) return false;
  settings.dtr = impl_->dtr;
  if (settings.rts != SerialLineControl::Handshake) settings.rts = impl_->rts;
  return true;
}

bool SerialPort::SetLineSettings(const SerialLineSettings& settings) {
  std::lock_guard lock(impl_->mutex);
  if (impl_->fd < 0) return false;
  const bool ok = TtySetLineSettings(impl_->fd, settings);
  if (ok) impl_->baudRate = settings.baudRate;
  // Line levels as the controls ask; a device without modem lines ignores this.
  int dtr = TIOCM_DTR;
  ::ioctl(impl_->fd, settings.dtr == SerialLineControl::Disable ? TIOCMBIC : TIOCMBIS, &dtr);
  int rts = TIOCM_RTS;
  ::ioctl(impl_->fd, settings.rts == SerialLineControl::Disable ? TIOCMBIC : TIOCMBIS, &rts);
  impl_->dtr = settings.dtr;
  impl_->rts = settings.rts;
  return ok;
}

bool SerialPort::ClearError(uint32_t& errors, uint32_t& inputQueued) {
  std::lock_guard lock(impl_->mutex);
  impl_->CollectLineErrorsLocked();
  errors = impl_->errors;
  impl_->errors = 0;
  inputQueued = impl_->queue.Size();
  return true;
}

uint32_t SerialPort::InputQueued() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->queue.Size();
}

bool SerialPort::Read(uint8_t* buffer, uint32_t count, uint32_t& read) {
  std::lock_guard lock(impl_->mutex);
  read = impl_->queue.Pop(buffer, count);
  return read > 0 || count == 0 || !impl_->lost;
}

bool SerialPort::Write(const uint8_t* data, uint32_t count, uint32_t& written) {
  using Clock = std::chrono::steady_clock;
  std::lock_guard lock(impl_->mutex);
  written = 0;
  if (impl_->fd < 0) return false;
  // Ten bit times per byte at the line's rate, plus the grace.
  const auto lineMs =
      static_cast<int64_t>(count) * 10 * 1000 / std::max<uint32_t>(impl_->baudRate, 1);
  const auto deadline = Clock::now() + std::chrono::milliseconds(lineMs + kWriteGraceMs);
  while (written < count) {
    const ssize_t n = ::write(impl_->fd, data + written, count - written);
    if (n > 0) {
      written += static_cast<uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd out = {impl_->fd, POLLOUT, 0};
    if (::poll(&out, 1, static_cast<int>(left)) < 0 && errno != EINTR) return false;
    if (out.revents & (POLLHUP | POLLERR | POLLNVAL)) return false;
  }
  return true;
}

bool SerialPort::SetDtr(bool on) {
  std::lock_guard lock(impl_->mutex);
  int bit = TIOCM_DTR;
  return impl_->fd >= 0 && ::ioctl(impl_->fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

bool SerialPort::SetRts(bool on) {
  std::lock_guard lock(impl_->mutex);
  int bit = TIOCM_RTS;
  return impl_->fd >= 0 && ::ioctl(impl_->fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

bool SerialPort::GetModemStatus(SerialModemStatus& status) const {
  std::lock_guard lock(impl_->mutex);
  int lines = 0;
  if (impl_->fd < 0 || ::ioctl(impl_->fd, TIOCMGET, &lines) != 0) return false;
  status.cts = (lines & TIOCM_CTS) != 0;
  status.dsr = (lines & TIOCM_DSR) != 0;
  status.ring = (lines & TIOCM_RI) != 0;
  status.carrierDetect = (lines & TIOCM_CD) != 0;
  return true;
}

bool SerialPort::Lost() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->lost;
}

const std::string& SerialPort::DevicePath() const {
  return impl_->path;
}

bool ProbeSerialPort(int portNumber) {
  const std::string path = PortDevicePath(portNumber);
  return !path.empty() && ProbeSerialDevice(path);
}

bool ProbeSerialDevice(const std::string& devicePath) {
  const int fd = OpenExclusive(devicePath);
  if (fd < 0) return false;
  ::close(fd);  // also drops the lock
  return true;
}

QString OpenFailureReason(int portNumber, int error) {
  const std::string path = PortDevicePath(portNumber);
  if (path.empty()) return {};
  return DeviceOpenFailureReason(path, error);
}

QString DeviceOpenFailureReason(const std::string& path, int error) {
  std::error_code ignored;
  const std::string device = std::filesystem::weakly_canonical(path, ignored).string();
  const QString name = QString::fromStdString(device.empty() ? path : device);
  if (error == EACCES || error == EPERM) {
    struct stat info {};
    QString group = "dialout";
    if (::stat(device.c_str(), &info) == 0) {
      if (const struct group* owner = ::getgrgid(info.st_gid))
        group = QString::fromLocal8Bit(owner->gr_name);
    }
    return QString(
               "Permission denied on %1: your user may not use it. Add yourself to the group "
               "\"%2\" that owns it (sudo usermod -aG %2 $USER), then log in again.")
        .arg(name, group);
  }
  if (error == EBUSY) return QString("%1 is in use by another program.").arg(name);
  return {};
}
