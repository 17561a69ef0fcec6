#include "sim/SimRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/Frames.h"
#include "sim/PtySpeed.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    char name[] = "/tmp/rxm-sim-test-XXXXXX";
    path_ = mkdtemp(name);
  }
  ~TempDir() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

bool Exists(const std::string& path) {
  struct stat s;
  return lstat(path.c_str(), &s) == 0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

Bytes ReadRequest(uint16_t reg, uint16_t count) {
  Bytes frame = {2,
                 3,
                 static_cast<uint8_t>(reg >> 8),
                 static_cast<uint8_t>(reg),
                 static_cast<uint8_t>(count >> 8),
                 static_cast<uint8_t>(count)};
  const uint16_t crc = Crc16(frame.data(), frame.size());
  frame.push_back(static_cast<uint8_t>(crc));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
  return frame;
}

// The application's end of the line: the device behind the link.
class Host {
 public:
  explicit Host(const std::string& link) : fd_(open(link.c_str(), O_RDWR | O_NOCTTY)) {}
  ~Host() {
    if (fd_ >= 0) close(fd_);
  }
  bool Opened() const { return fd_ >= 0; }
  void Send(const Bytes& frame) { ASSERT_EQ(TrySend(frame), ssize_t(frame.size())); }
  ssize_t TrySend(const Bytes& frame) { return write(fd_, frame.data(), frame.size()); }
  bool SetSpeed(int bitsPerSecond) { return SetTerminalSpeed(fd_, bitsPerSecond); }
  // Everything that arrives within `waitMs` of quiet.
  Bytes Take(int waitMs = 200) {
    Bytes data;
    pollfd p{fd_, POLLIN, 0};
    uint8_t chunk[4096];
    while (poll(&p, 1, waitMs) > 0) {
      const ssize_t n = read(fd_, chunk, sizeof chunk);
      if (n <= 0) break;
      data.insert(data.end(), chunk, chunk + n);
    }
    return data;
  }

 private:
  int fd_;
};

SimOptions Options(const std::string& link, bool usb, const std::string& faults = "") {
  SimOptions o;
  o.link = link;
  o.usb = usb;
  o.seed = 11;
  o.faults = faults;
  return o;
}

TEST(SimRunner, UsbPortHasItsLinkAndIdentityFileWhileItRuns) {
  TempDir dir;
  const std::string link = dir / "ports/COM7";
  std::ostringstream status;
  {
    SimRunner runner(Options(link, true), status);
    runner.Start(0);
    EXPECT_EQ(fs::read_symlink(link).string(), runner.Link().Device());
    EXPECT_EQ(ReadFile(link + ".pnp"),
              "PNPDeviceID=USB\\VID_0483&PID_5733\\RXM5620SIM0001\n"
              "Name=RXM5620 Virtual COM Port (COM7)\n");
    EXPECT_NE(status.str().find("ready on " + link), std::string::npos);
  }
  EXPECT_FALSE(Exists(link));
  EXPECT_FALSE(Exists(link + ".pnp"));
}

TEST(SimRunner, IdentityNamesHaveTheLengthsThePortScanReadsNumbersBy) {
  const std::pair<int, size_t> cases[] = {{7, 31}, {12, 32}, {255, 33}};
  for (const auto& [port, length] : cases) {
    const std::string text = UsbIdentityText(port);
    const size_t name = text.find("Name=") + 5;
    EXPECT_EQ(text.size() - name - 1, length) << port;
  }
  EXPECT_EQ(PortNumberFromLinkName("ports/COM12"), 12);
  EXPECT_EQ(PortNumberFromLinkName("ports/COM0"), 0);
  EXPECT_EQ(PortNumberFromLinkName("ports/COM256"), 0);
  EXPECT_EQ(PortNumberFromLinkName("ports/ttyS1"), 0);
}

TEST(SimRunner, AnswersOverTheUsbPortAtOnce) {
  TempDir dir;
  std::ostringstream status;
  SimRunner runner(Options(dir / "COM3", true), status);
  runner.Start(0);
  Host host(dir / "COM3");
  ASSERT_TRUE(host.Opened());
  host.Send(ReadRequest(41, 2));
  Bytes answer;
  // Step until the host has it all, however much the pseudo-terminal takes at once.
  for (int turn = 0; turn < 200 && answer.size() < 8161; ++turn) {
    runner.Step(1.0);
    const Bytes more = host.Take(20);
    answer.insert(answer.end(), more.begin(), more.end());
  }
  ASSERT_EQ(answer.size(), 8161u);
  const uint16_t crc = Crc16(answer.data(), answer.size() - 2);
  EXPECT_EQ(answer[8159] | answer[8160] << 8, crc);
}

class PacedRunner : public ::testing::TestWithParam<bool> {};

TEST_P(PacedRunner, PacesTheReadingAtTheLineRate) {
  const bool followHost = GetParam();
  TempDir dir;
  std::ostringstream status;
  SimOptions options = Options(dir / "COM2", false);
  // 1000 bytes a second with 8 bit times a byte, given or set by the host on its port.
  options.baud = followHost ? kAutoBaud : 8000;
  SimRunner runner(options, status);
  runner.Start(0);
  Host host(dir / "COM2");
  if (followHost) {
    ASSERT_TRUE(host.SetSpeed(8000));
  }
  host.Send(ReadRequest(41, 2));
  host.Take(50);
  runner.Step(10.0);
  EXPECT_EQ(host.Take().size(), 1u);  // the first byte at once
  runner.Step(11.0);
  EXPECT_EQ(host.Take().size(), 1000u);
  runner.Step(12.5);
  EXPECT_EQ(host.Take().size(), 1500u);
  // Short answers are not paced, and queue behind the reading.
  host.Send(ReadRequest(28, 10));
  host.Take(50);
  size_t rest = 0;
  for (int turn = 0; turn < 200 && rest < 8161 - 2501 + 15; ++turn) {
    runner.Step(20.0);
    rest += host.Take(20).size();
  }
  EXPECT_EQ(rest, 8161u - 2501u + 15u);
}

INSTANTIATE_TEST_SUITE_P(GivenOrFollowed, PacedRunner, ::testing::Values(false, true));

TEST(SimRunner, DropsAnswersNobodyReads) {
  TempDir dir;
  std::ostringstream status;
  SimRunner runner(Options(dir / "COM6", true), status);
  runner.Start(0);
  {
    Host host(dir / "COM6");
    for (int n = 0; n < 12; ++n) host.Send(ReadRequest(41, 2));
  }
  runner.Step(1.0);  // more than the pseudo-terminal holds
  ASSERT_GT(runner.PendingAnswers(), 0u);
  // The kernel moves bytes between the pseudo-terminal's buffers on its own time, and each
  // write that still finds room restarts the runner's count of blocked time; so step the
  // runner's clock on until the line has stayed full long enough, within a generous real
  // deadline.
  double now = 1.0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (runner.PendingAnswers() > 0 && std::chrono::steady_clock::now() < deadline) {
    now += 0.5;
    runner.Step(now);
    poll(nullptr, 0, 5);
  }
  ASSERT_EQ(runner.PendingAnswers(), 0u);
  // The next host sees only the answer to its own request.
  Host host(dir / "COM6");
  host.Send(ReadRequest(28, 10));
  host.Take(30);
  runner.Step(now + 0.5);
  EXPECT_EQ(host.Take().size(), 15u);
}

TEST(SimRunner, VanishRemovesThePortAndBringsItBack) {
  TempDir dir;
  const std::string link = dir / "COM4";
  std::ostringstream status;
  SimRunner runner(Options(link, true, "vanish=10:2"), status);
  runner.Start(0);
  runner.Step(5);
  ASSERT_TRUE(Exists(link));
  {
    Host host(link);
    runner.Step(10.5);
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(Exists(link + ".pnp"));
    EXPECT_FALSE(runner.Link().IsOpen());
    EXPECT_LT(host.TrySend(ReadRequest(45, 15)), 0);  // the line is gone, as unplugged
  }
  runner.Step(12.5);
  ASSERT_TRUE(Exists(link));
  EXPECT_TRUE(Exists(link + ".pnp"));
  Host again(link);
  again.Send(ReadRequest(45, 15));
  runner.Step(12.6);
  EXPECT_EQ(again.Take().size(), 7u);
  EXPECT_NE(status.str().find("unplugged"), std::string::npos);
  EXPECT_NE(status.str().find("back"), std::string::npos);
}

TEST(SimRunner, LogsEveryFrameInAndOut) {
  TempDir dir;
  std::ostringstream status;
  SimOptions options = Options(dir / "COM5", true, "drop=2");
  options.logPath = dir / "frames.log";
  SimRunner runner(options, status);
  runner.Start(0);
  Host host(dir / "COM5");
  for (int n = 0; n < 2; ++n) {
    host.Send(ReadRequest(28, 10));
    host.Take(30);
    runner.Step(1.0 + n);
    host.Take(30);
  }
  const std::string log = ReadFile(options.logPath);
  EXPECT_NE(log.find(" RX 02 03 00 1C 00 0A"), std::string::npos);
  EXPECT_NE(log.find(" TX 02 03 0A 0A 00 01 03 0F 01 01 04 04 1E"), std::string::npos);
  EXPECT_NE(log.find(" NOTX 02 03 0A"), std::string::npos);
  EXPECT_NE(log.find("[dropped]"), std::string::npos);
}

// The executable itself: it prints the link, answers, and removes the link on SIGTERM.
TEST(SimExecutable, RunsOnALinkAndCleansUpOnSigterm) {
  const fs::path binary = fs::read_symlink("/proc/self/exe").parent_path() / "rxm5620-sim";
  if (!fs::exists(binary)) GTEST_SKIP() << "rxm5620-sim is not built";
  TempDir dir;
  const std::string link = dir / "ports/COM2";
  const std::string out = dir / "out.txt";
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 1);
    execl(binary.c_str(), binary.c_str(), "--link", link.c_str(), "--usb", "--seed", "4",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int k = 0; k < 500 && !Exists(link); ++k) usleep(10000);
  ASSERT_TRUE(Exists(link));
  {
    Host host(link);
    host.Send(ReadRequest(28, 10));
    EXPECT_EQ(host.Take(1000).size(), 15u);
  }
  kill(child, SIGTERM);
  int result = 0;
  waitpid(child, &result, 0);
  EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 0);
  EXPECT_FALSE(Exists(link));
  EXPECT_NE(ReadFile(out).find("ready on " + link), std::string::npos);
}

}  // namespace
