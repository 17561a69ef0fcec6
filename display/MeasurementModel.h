#pragma once
// The latest reading of the instrument. The layout is at once the instrument's answer to
// an all-channels read and the content of a measurement file, so every offset is fixed.

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "the reading is used in place as little-endian bytes");

#pragma pack(push, 1)

struct ChannelBlock {
  float VoltageTrms;
  float VoltagePeak;
  float VoltagePeakToPeak;
  float Frequency;
  float VoltagePhase;
  float VoltageCrestFactor;
  float VoltageFormFactor;
  float VoltageMean;
  float VoltageRectifiedMean;
  float VoltageThdF;
  float VoltageThdR;
  float VoltageTif;
  float VoltageThf;
  float VoltageFfcr;
  float VoltageKFactor;
  float CurrentTrms;
  float CurrentPeak;
  float CurrentPeakToPeak;
  float CurrentPhase;
  float CurrentCrestFactor;
  float CurrentFormFactor;
  float CurrentMean;
  float CurrentRectifiedMean;
  float CurrentThdF;
  float CurrentThdR;
  float CurrentTif;
  float CurrentThf;
  float CurrentFfcr;
  float CurrentKFactor;
  float ActivePower;
  float ApparentPower;
  float ReactivePower;
  float PowerFactor;
  float PeakPower;
  float Impedance;
  float VoltageHarmonics[51];
  float CurrentHarmonics[51];
  double EnergyKwh;
  double EnergyPositive;
  double EnergyNegative;
  uint8_t Reserved1[8];
  int16_t VoltageWave[512];
  int16_t CurrentWave[512];
  uint16_t WaveSampleCount;
  uint16_t Reserved2;
  uint16_t Reserved3;
  uint8_t Wiring;
  uint8_t Bandwidth;
  uint8_t TriggerMode;
  uint8_t Reserved4[7];
};

struct ThreePhaseBlock {
  float LineVoltageAB;
  float LineVoltageBC;
  float LineVoltageCA;
  float TotalActivePower;
  float TotalApparentPower;
  float TotalReactivePower;
  float VoltagePositiveSeq;
  float VoltageNegativeSeq;
  float VoltageZeroSeq;
  float VoltageUnbalanceVuf;
  float VoltageUnbalancePvur;
  float CurrentPositiveSeq;
  float CurrentNegativeSeq;
  float CurrentZeroSeq;
  float CurrentUnbalanceCuf;
  float CurrentUnbalancePcur;
  float DemandActivePower;
  float DemandApparentPower;
  float DemandReactivePower;
  double EnergyWp;
  double EnergyWpPositive;
  double EnergyWpNegative;
  double EnergyKvah;
  double EnergyKvarh;
  uint8_t Reserved[108];
};

// Payload of the all-channels read (register 41).
struct MeasurementSet {
  ChannelBlock Channel[3];
  ThreePhaseBlock ThreePhase;
};

struct MeasurementRecord {
  MeasurementSet Set;
  char DateTimeText[19];  // date and time of the reading, zero-filled, no terminator
  uint8_t Reserved[211];  // written as zero
};

#pragma pack(pop)

// Wiring codes of ChannelBlock::Wiring.
enum WiringCode : uint8_t {
  kWiringSinglePhase = 0,
  kWiringThreeWire = 1,
  kWiringThreeWire3VT3CT = 2,
  kWiringFourWire = 3,
};

inline constexpr int kChannelBlockSize = 2644;
inline constexpr int kThreePhaseBlockSize = 224;
inline constexpr int kMeasurementSetSize = 8156;
inline constexpr int kMeasurementRecordSize = 8386;
inline constexpr int kWaveSamples = 512;
inline constexpr int kHarmonicOrders = 51;

static_assert(sizeof(ChannelBlock) == kChannelBlockSize);
static_assert(offsetof(ChannelBlock, VoltageTrms) == 0);
static_assert(offsetof(ChannelBlock, Frequency) == 12);
static_assert(offsetof(ChannelBlock, VoltageThdF) == 36);
static_assert(offsetof(ChannelBlock, VoltageKFactor) == 56);
static_assert(offsetof(ChannelBlock, CurrentTrms) == 60);
static_assert(offsetof(ChannelBlock, CurrentPhase) == 72);
static_assert(offsetof(ChannelBlock, CurrentThdF) == 92);
static_assert(offsetof(ChannelBlock, CurrentKFactor) == 112);
static_assert(offsetof(ChannelBlock, ActivePower) == 116);
static_assert(offsetof(ChannelBlock, PowerFactor) == 128);
static_assert(offsetof(ChannelBlock, PeakPower) == 132);
static_assert(offsetof(ChannelBlock, Impedance) == 136);
static_assert(offsetof(ChannelBlock, VoltageHarmonics) == 140);
static_assert(offsetof(ChannelBlock, CurrentHarmonics) == 344);
static_assert(offsetof(ChannelBlock, EnergyKwh) == 548);
static_assert(offsetof(ChannelBlock, EnergyPositive) == 556);
static_assert(offsetof(ChannelBlock, EnergyNegative) == 564);
static_assert(offsetof(ChannelBlock, Reserved1) == 572);
static_assert(offsetof(ChannelBlock, VoltageWave) == 580);
static_assert(offsetof(ChannelBlock, CurrentWave) == 1604);
static_assert(offsetof(ChannelBlock, WaveSampleCount) == 2628);
static_assert(offsetof(ChannelBlock, Reserved2) == 2630);
static_assert(offsetof(ChannelBlock, Reserved3) == 2632);
static_assert(offsetof(ChannelBlock, Wiring) == 2634);
static_assert(offsetof(ChannelBlock, Bandwidth) == 2635);
static_assert(offsetof(ChannelBlock, TriggerMode) == 2636);
static_assert(offsetof(ChannelBlock, Reserved4) == 2637);

static_assert(sizeof(ThreePhaseBlock) == kThreePhaseBlockSize);
static_assert(offsetof(ThreePhaseBlock, LineVoltageAB) == 0);
static_assert(offsetof(ThreePhaseBlock, TotalActivePower) == 12);
static_assert(offsetof(ThreePhaseBlock, VoltagePositiveSeq) == 24);
static_assert(offsetof(ThreePhaseBlock, VoltageUnbalanceVuf) == 36);
static_assert(offsetof(ThreePhaseBlock, CurrentPositiveSeq) == 44);
static_assert(offsetof(ThreePhaseBlock, CurrentUnbalancePcur) == 60);
static_assert(offsetof(ThreePhaseBlock, DemandActivePower) == 64);
static_assert(offsetof(ThreePhaseBlock, DemandReactivePower) == 72);
static_assert(offsetof(ThreePhaseBlock, EnergyWp) == 76);
static_assert(offsetof(ThreePhaseBlock, EnergyWpPositive) == 84);
static_assert(offsetof(ThreePhaseBlock, EnergyWpNegative) == 92);
static_assert(offsetof(ThreePhaseBlock, EnergyKvah) == 100);
static_assert(offsetof(ThreePhaseBlock, EnergyKvarh) == 108);
static_assert(offsetof(ThreePhaseBlock, Reserved) == 116);

static_assert(sizeof(MeasurementSet) == kMeasurementSetSize);
static_assert(offsetof(MeasurementSet, Channel) == 0);
static_assert(offsetof(MeasurementSet, ThreePhase) == 7932);
static_assert(sizeof(MeasurementRecord) == kMeasurementRecordSize);
static_assert(offsetof(MeasurementRecord, DateTimeText) == 8156);
static_assert(offsetof(MeasurementRecord, Reserved) == 8175);

// The one reading of the program, read in place by every page, report and recorder.
extern MeasurementRecord MeasurementData;

// Puts a record into its start-up state: all zero, 512 samples in each channel block
// and channel 1 wired three-phase four-wire.
void InitMeasurementRecord(MeasurementRecord& record);

// The recordable quantities: 33 per channel block (VoltageTrms to PowerFactor), then the
// first 16 of the three-phase block. Index 33 * (channel - 1) + k, then 99 + k.
inline constexpr int kChannelParameterCount = 33;
inline constexpr int kThreePhaseParameterCount = 16;
inline constexpr int kParameterCount = 3 * kChannelParameterCount + kThreePhaseParameterCount;

// The value of parameter `index` (0 to 114); 0 for an index outside that range.
float ParameterValue(const MeasurementRecord& record, int index);
