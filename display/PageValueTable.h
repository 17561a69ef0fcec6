#pragma once
// The value tables of the channel pages and of the three-phase page, without a widget:
// where each value stands (box, row, column), its caption, the field it shows and how it
// is formatted. The pages build their labels from these; the batch tool and the printed
// report read the same values and texts from them.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

#include "display/MeasurementModel.h"

// The number at `offset` of a packed block: a float32, or a float64 counter.
double BlockNumber(const void* block, size_t offset, bool counter);

// A channel page's value: the three entries are for channels 1, 2 and 3 where they differ.
struct ChannelValueField {
  int box;  // 0 Voltage, 1 Current, 2 Comprehensive
  int row, column;
  const char* caption;
  const char* name;  // the ChannelBlock field
  size_t offset;     // in the ChannelBlock
  bool counter;      // a float64 energy counter
  const char* units[3];
  int widths[3];
  float scale, divisor;
  const char* labels[3];  // the value label's name
};

std::span<const ChannelValueField> ChannelValueFields();
// The value boxes' captions, box 0 to 2.
extern const char* const kChannelBoxTitles[3];
// The page's tab caption, channel 1 to 3, without the blanks around it ("Channel 1").
QString ChannelPageTitle(int channel);

// The raw number of `field` in `block` (a counter as float64).
double ChannelFieldNumber(const ChannelValueField& field, const ChannelBlock& block);
// The caption the page shows for `field` of `block` on channel 1 to 3.
QString ChannelValueText(const ChannelValueField& field, const ChannelBlock& block, int channel);

// A value of the three-phase page: a field of one channel's block (channel 0 to 2) or of
// the three-phase block (kThreePhaseSource).
inline constexpr int kThreePhaseSource = -1;
struct ThreePhaseValueField {
  int box;  // 0 Comprehensive, 1 Unbalance, 2 Integration
  int row, column;
  const char* caption;
  int channel;
  const char* name;  // the field in its block
  size_t offset;
  bool counter;
  const char* unit;
  int width;
  float scale, divisor;
  const char* label;
};

std::span<const ThreePhaseValueField> ThreePhaseValueFields();
extern const char* const kThreePhaseBoxTitles[3];
inline constexpr const char* kThreePhasePageTitle = "Three-phase Analysis";

double ThreePhaseFieldNumber(const ThreePhaseValueField& field, const MeasurementSet& set);
// The unbalance values exist in four-wire mode only; elsewhere their labels are greyed.
bool ThreePhaseValueAvailable(const ThreePhaseValueField& field, uint8_t wiring);
// The caption the page shows for `field` under `wiring`: "NSF" for a value the wiring does
// not have; the line voltages take the unit "V" without a blank in four-wire mode.
QString ThreePhaseValueText(const ThreePhaseValueField& field, const MeasurementSet& set,
                            uint8_t wiring);
