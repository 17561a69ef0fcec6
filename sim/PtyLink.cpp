#include "sim/PtyLink.h"

#include "sim/PtySpeed.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// The link's target, or an empty text when the path is no symbolic link.
std::string LinkTarget(const std::string& path) {
  char target[4096];
  const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
  return length < 0 ? std::string() : std::string(target, static_cast<size_t>(length));
}

}  // namespace

int PortNumberFromLinkName(std::string_view path) {
  const size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (!name.starts_with("COM") || name.size() < 4 || name.size() > 6) return 0;
  int number = 0;
  for (char c : name.substr(3)) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return name[3] != '0' && number >= 1 && number <= 255 ? number : 0;
}

std::string UsbIdentityText(int port) {
  return "PNPDeviceID=USB\\VID_0483&PID_5733\\RXM5620SIM0001\n"
         "Name=RXM5620 Virtual COM Port (COM" +
         std::to_string(port) + ")\n";
}

PtyLink::PtyLink(std::string linkPath, int usbPort)
    : linkPath_(std::move(linkPath)), usbPort_(usbPort) {}

PtyLink::~PtyLink() {
  Close();
}

void PtyLink::Open() {
  if (IsOpen()) return;
  const std::filesystem::path link(linkPath_);
  std::error_code error;
  if (link.has_parent_path()) std::filesystem::create_directories(link.parent_path(), error);

  struct stat existing;
  if (lstat(linkPath_.c_str(), &existing) == 0) {
    // A link left by a simulator that was killed is replaced; anything else is kept.
    if (!S_ISLNK(existing.st_mode))
      throw std::runtime_error(linkPath_ + " exists and is not a symbolic link");
    unlink(linkPath_.c_str());
  }

  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0) Fail("cannot create a pseudo-terminal");
  char name[128];
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name)) {
    const int saved = errno;
    Close();
    errno = saved;
    Fail("cannot set up the pseudo-terminal");
  }
  device_ = name;
  slave_ = open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave_ >= 0) {
    // Raw from the start: no echo of the answers, no translation of the bytes.
    termios raw;
    if (tcgetattr(slave_, &raw) == 0) {
      cfmakeraw(&raw);
      tcsetattr(slave_, TCSANOW, &raw);
    }
  }
  if (symlink(device_.c_str(), linkPath_.c_str()) != 0) {
    const int saved = errno;
    Close();
    errno = saved;
    Fail("cannot create the link " + linkPath_);
  }
  if (usbPort_ > 0) {
    const std::string temporary = IdentityPath() + ".new";
    std::ofstream(temporary) << UsbIdentityText(usbPort_);
    if (std::rename(temporary.c_str(), IdentityPath().c_str()) != 0) {
      const int saved = errno;
      Close();
      errno = saved;
      Fail("cannot write " + IdentityPath());
    }
  }
}

int PtyLink::LineSpeed() const {
  return TerminalSpeed(slave_);
}

void PtyLink::DiscardUnread() {
  if (slave_ >= 0) tcflush(slave_, TCIFLUSH);
}

void PtyLink::Close() {
  if (!device_.empty() && LinkTarget(linkPath_) == device_) {
    unlink(linkPath_.c_str());
    if (usbPort_ > 0) unlink(IdentityPath().c_str());
  }
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
  device_.clear();
}
