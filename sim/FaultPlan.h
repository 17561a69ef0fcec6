#pragma once
// The faults the simulated instrument can be told to show: lost, corrupted, cut and late
// answers, NaN in chosen fields, silence and unplugging. Parsed from the --faults text.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A float or double field of a block in the reading, by byte offset in MeasurementSet.
struct NanTarget {
  size_t offset;
  bool isDouble;
};

// A repeating window of `length` seconds that opens at period, 2 period, ...
struct FaultWindow {
  double period = 0;
  double length = 0;
  bool Contains(double t) const;
  bool Active() const { return period > 0 && length > 0; }
};

struct FaultPlan {
  int dropEvery = 0;      // every n-th answer is not sent
  int crcEvery = 0;       // every n-th answer carries a wrong CRC
  int truncateEvery = 0;  // every n-th answer is cut to half its length
  std::vector<NanTarget> nanTargets;
  int nanEvery = 1;  // in every n-th all-channels answer
  double delaySeconds = 0;
  int delayEvery = 1;
  FaultWindow silent;  // no answers
  FaultWindow vanish;  // the port is gone

  bool Empty() const;
};

class FaultSyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Items separated by commas:
//   drop=N  crc=N  truncate=N
//   nan=FIELD[@CH][+FIELD[@CH]...][/N]   field names of the blocks, CH 1 to 3 (all if left out)
//   delay=DURATION[/N]
//   silent=PERIOD:LENGTH   vanish=PERIOD:LENGTH
// Durations are seconds, or with a unit: 250ms, 2s.
FaultPlan ParseFaults(std::string_view text);

// Writes a quiet NaN into each target of a MeasurementSet held as bytes.
void ApplyNanTargets(uint8_t* set, const std::vector<NanTarget>& targets);

// Names accepted by nan=, for the help text.
std::string NanFieldNames();
