#pragma once
// The record file: records of exactly 32016 bytes, record r holding samples 1000·r to
// 1000·r + 999 of the six channels and their times, the six parameter indices chosen when
// the file was created and the recording's total count when the record was last written.
// The file's count is that of its last record. All numbers are little-endian.

#include <QString>
#include <cstddef>
#include <cstdint>

#include "display/MeasurementModel.h"

inline constexpr int kRecordChannels = 6;
inline constexpr int kSamplesPerRecord = 1000;
inline constexpr int kRecordCapacity = 450000;  // samples of one recording
inline constexpr int kMaxRecords = kRecordCapacity / kSamplesPerRecord;

#pragma pack(push, 1)
struct RecordBlockData {
  float Values[kRecordChannels][kSamplesPerRecord];
  double Times[kSamplesPerRecord];
  uint8_t Parameters[kRecordChannels];
  uint8_t Reserved1[2];
  int32_t Count;
  uint8_t Reserved2[4];
};
#pragma pack(pop)

inline constexpr int kRecordBlockSize = 32016;
static_assert(sizeof(RecordBlockData) == kRecordBlockSize);
static_assert(offsetof(RecordBlockData, Values) == 0);
static_assert(offsetof(RecordBlockData, Times) == 24000);
static_assert(offsetof(RecordBlockData, Parameters) == 32000);
static_assert(offsetof(RecordBlockData, Reserved1) == 32006);
static_assert(offsetof(RecordBlockData, Count) == 32008);
static_assert(offsetof(RecordBlockData, Reserved2) == 32012);

// One recording in memory: six channels and the sample times, each of full capacity.
struct SampleBuffers {
  float* Values[kRecordChannels] = {};
  double* Times = nullptr;
};

// Creates (or replaces) `path` holding `block` as its only record. The old file is
// replaced only once the new one is complete. Throws AppError naming the file.
void CreateRecordFile(const QString& path, const RecordBlockData& block);

// Fills `block` with samples 1000·r to 1000·r + 999 of `buffers` and sets its count to
// `count`; the parameter bytes stay as they are.
void FillRecordBlock(RecordBlockData& block, const SampleBuffers& buffers, int r, int count);

// The save of a recording of `count` samples into the file at `path` (encoded for the
// system): the record of the block being filled is rewritten in place, and when a block
// boundary has been passed since the last save the completed block is rewritten first.
// Records already written are never truncated; missing records before the block being
// filled are written too. `block` is a scratch buffer whose parameter bytes are kept.
// Returns an empty text on success, else the reason; allocates nothing.
QString SaveRecording(const char* path, RecordBlockData& block, const SampleBuffers& buffers,
                      int count);

// What opening a record file gives.
struct OpenedRecording {
  int Records = 0;                           // whole records read (at most 450)
  int Count = 0;                             // the file's sample count, clamped to the samples read
  int StoredCount = 0;                       // the count field as stored in the last record
  uint8_t Parameters[kRecordChannels] = {};  // of the last record
  bool TrailingBytes = false;                // a partial record at the end, ignored
  bool TooManyRecords = false;               // records beyond the capacity, ignored
};

// Reads the whole records of `path` into `buffers` (`scratch` is the read buffer). Never
// writes beyond the buffers' capacity. Throws AppError when the file cannot be opened or
// read.
OpenedRecording ReadRecordFile(const QString& path, SampleBuffers& buffers,
                               RecordBlockData& scratch);
