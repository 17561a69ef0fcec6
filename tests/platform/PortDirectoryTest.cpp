#include "platform/PortDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/PtyPair.h"

namespace {

// Switches the conventional names on while a test computes paths; nothing here opens one.
class ScopedSystemPorts {
 public:
  explicit ScopedSystemPorts(const char* value) { ::setenv("RXM5620_SYSTEM_PORTS", value, 1); }
  ~ScopedSystemPorts() { ::setenv("RXM5620_SYSTEM_PORTS", "0", 1); }
};

struct RangeCase {
  int port;
  const char* device;
};
const RangeCase kRanges[] = {
    {1, "/dev/ttyS0"},
    {2, "/dev/ttyS1"},
    {32, "/dev/ttyS31"},
    {33, "/dev/ttyUSB0"},
    {64, "/dev/ttyUSB31"},
    {65, "/dev/ttyACM0"},
    {96, "/dev/ttyACM31"},
    {97, ""},
    {255, ""},
    {0, ""},
    {-1, ""},
};

TEST(PortDirectory, ConventionalNamesFollowFixedRanges) {
  ScopedPortDirectory ports;
  ScopedSystemPorts on("1");
  for (const RangeCase& c : kRanges) {
    EXPECT_EQ(ConventionalDevicePath(c.port), c.device) << c.port;
    EXPECT_EQ(PortDevicePath(c.port), c.device) << c.port;
    if (*c.device != '\0') {
      EXPECT_EQ(PortNumberOfDevice(c.device), c.port) << c.device;
    }
  }
  EXPECT_EQ(PortDevicePath(256), "");
}

TEST(PortDirectory, SystemPortsOffLeavesOnlyTheDirectory) {
  ScopedPortDirectory ports;
  EXPECT_FALSE(SystemPortsEnabled());
  EXPECT_EQ(PortDevicePath(1), "");
  EXPECT_EQ(PortNumberOfDevice("/dev/ttyS0"), 0);
  EXPECT_EQ(ConventionalDevicePath(1), "/dev/ttyS0");  // the rule itself still answers
}

TEST(PortDirectory, LinkInTheDirectoryWinsOverTheRangeEvenWhenDangling) {
  ScopedPortDirectory ports;
  PtyPair pty;
  ports.Link(7, pty.SlavePath());
  ports.Link(2, ports.Path() + "/gone");  // target missing
  ports.Link(200, pty.SlavePath());       // beyond the ranges

  ScopedSystemPorts on("1");
  EXPECT_EQ(PortDevicePath(7), ports.EntryPath(7));
  EXPECT_EQ(PortDevicePath(2), ports.EntryPath(2));
  EXPECT_EQ(PortDevicePath(200), ports.EntryPath(200));
  EXPECT_EQ(PortDevicePath(3), "/dev/ttyS2");
  // The device behind a link has the link's number; the lowest link wins.
  EXPECT_EQ(PortNumberOfDevice(pty.SlavePath()), 7);
  // /dev/ttyS1 would be port 2, but the directory holds that number.
  EXPECT_EQ(PortNumberOfDevice("/dev/ttyS1"), 0);
}

TEST(PortDirectory, DefaultsToPortsNextToTheExecutable) {
  const std::string saved = std::getenv("RXM5620_PORT_DIR") ? std::getenv("RXM5620_PORT_DIR") : "";
  ::unsetenv("RXM5620_PORT_DIR");
  const auto exe = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(PortDirectory(), (exe.parent_path() / "ports").string());
  ::setenv("RXM5620_PORT_DIR", "/tmp/somewhere", 1);
  EXPECT_EQ(PortDirectory(), "/tmp/somewhere");
  if (saved.empty())
    ::unsetenv("RXM5620_PORT_DIR");
  else
    ::setenv("RXM5620_PORT_DIR", saved.c_str(), 1);
}

}  // namespace
