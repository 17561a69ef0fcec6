#include "platform/PortDirectory.h"

#include "platform/DataFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct DeviceRange {
  int firstPort;
  int count;
  const char* prefix;
};
constexpr DeviceRange kRanges[] = {
    {1, 32, "/dev/ttyS"}, {33, 32, "/dev/ttyUSB"}, {65, 32, "/dev/ttyACM"}};

std::string EntryPath(int portNumber) {
  return (fs::path(PortDirectory()) / ("COM" + std::to_string(portNumber))).string();
}

bool EntryExists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// The file a path finally names, or the path itself when it cannot be resolved.
fs::path Resolved(const fs::path& path) {
  std::error_code error;
  fs::path canonical = fs::canonical(path, error);
  return error ? path : canonical;
}

}  // namespace

std::string PortDirectory() {
  return DefaultPortDirectory().toStdString();
}

bool SystemPortsEnabled() {
  const char* value = std::getenv("RXM5620_SYSTEM_PORTS");
  return value == nullptr || std::string(value) != "0";
}

std::string ConventionalDevicePath(int portNumber) {
  for (const DeviceRange& range : kRanges) {
    if (portNumber >= range.firstPort && portNumber < range.firstPort + range.count)
      return range.prefix + std::to_string(portNumber - range.firstPort);
  }
  return {};
}

std::string PortDevicePath(int portNumber) {
  if (portNumber < kMinPortNumber || portNumber > kMaxPortNumber) return {};
  std::string entry = EntryPath(portNumber);
  if (EntryExists(entry)) return entry;
  return SystemPortsEnabled() ? ConventionalDevicePath(portNumber) : std::string();
}

int PortNumberOfDevice(const std::string& devicePath) {
  const fs::path device = Resolved(devicePath);
  for (int n = kMinPortNumber; n <= kMaxPortNumber; ++n) {
    const std::string entry = EntryPath(n);
    if (EntryExists(entry) && Resolved(entry) == device) return n;
  }
  if (!SystemPortsEnabled()) return 0;
  for (int n = kMinPortNumber; n <= kMaxPortNumber; ++n) {
    const std::string conventional = ConventionalDevicePath(n);
    if (conventional.empty()) break;
    // Skip a number that the port directory has taken.
    if (Resolved(conventional) == device && !EntryExists(EntryPath(n))) return n;
  }
  return 0;
}
