#pragma once
// The instrument's settings blocks as they travel on the wire: the alarm block of
// register 1 and the measurement set-up of register 28. The dispatcher fills them from
// answers; the settings windows read and rebuild them.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct AlarmBlockData {
  uint16_t AlarmMode;   // 0 monitor mode, other values judgment mode
  uint16_t EnableBits;  // bit 2k upper, bit 2k+1 lower limit of alarm k+1
  struct Source {
    uint16_t DataSet;    // 0 CH1, 1 CH2, 2 CH3, 3 three-phase analysis
    uint16_t Reference;  // index into the data set's parameter list, 65535 for none
  } Alarm[4];
  struct Limits {
    float Upper;
    float Lower;
  } Limit[4];
};

struct InstrumentSetupData {
  uint8_t FilterCoefficient;  // 1 to 10
  uint8_t FilterSwitch;       // 0 on, 1 off
  uint8_t CurrentBandwidth;   // 0 narrowband, 1 broadband
  uint8_t InputWiring;        // WiringCode
  uint8_t Grayscale;          // 0 to 20
  uint8_t PhaseTrigger;       // 0 zero crossing, 1 fundamental
  uint8_t RangeMode;          // 0 automatic, 1 manual
  uint8_t VoltageRange;       // 1 to 4
  uint8_t CurrentRange;       // 1 to 4
  uint8_t DemandWindow;       // 1 to 30 seconds
};

#pragma pack(pop)

inline constexpr int kAlarmBlockSize = 52;
inline constexpr int kInstrumentSetupSize = 10;

static_assert(sizeof(AlarmBlockData) == kAlarmBlockSize);
static_assert(offsetof(AlarmBlockData, EnableBits) == 2);
static_assert(offsetof(AlarmBlockData, Alarm) == 4);
static_assert(offsetof(AlarmBlockData, Limit) == 20);
static_assert(sizeof(InstrumentSetupData) == kInstrumentSetupSize);
static_assert(offsetof(InstrumentSetupData, DemandWindow) == 9);

// Register numbers of the blocks and readings.
inline constexpr uint16_t kRegisterAlarms = 1;
inline constexpr uint16_t kRegisterSetup = 28;
inline constexpr uint16_t kRegisterCalibrationMode = 30;
inline constexpr uint16_t kRegisterAllChannels = 41;
inline constexpr uint16_t kRegisterLeave = 44;
inline constexpr uint16_t kRegisterKeepAlive = 45;

extern AlarmBlockData AlarmBlock;
extern InstrumentSetupData InstrumentSetup;
