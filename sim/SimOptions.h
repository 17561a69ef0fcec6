#pragma once
// The command line of rxm5620-sim.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr int kAutoBaud = -1;

struct SimOptions {
  std::string link;
  uint8_t address = 2;
  bool usb = false;
  int baud = 0;      // 0: the default, 14400 on a plain port, unpaced over USB
  int byteBits = 8;  // line time of one byte in bit times
  bool paceAll = false;
  std::string scenario = "balanced";
  uint64_t seed = 0;
  bool seedGiven = false;
  std::string faults;
  std::string logPath;
  bool help = false;
  bool listScenarios = false;

  // Bytes a second on the line for an answer; 0 when it is sent at once. `lineBaud` is
  // the speed the application set on the port, followed with --baud auto.
  double BytesPerSecond(bool reading, int lineBaud = 0) const;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws UsageError for an unknown option or a bad value.
SimOptions ParseSimOptions(const std::vector<std::string>& arguments);
std::string SimUsage();
