#pragma once
// The recording buffers and their state, shared by the record window, its chart, the
// record report page and the batch tool; no window here. Two recordings are held at once:
// the one being taken (Live) and the one last opened from a file (Opened).

#include <QByteArray>
#include <QString>

#include "record/RecordFile.h"

struct RecordState {
  RecordState() = default;
  RecordState(const RecordState&) = delete;
  RecordState& operator=(const RecordState&) = delete;
  ~RecordState();

  // Allocates both recordings at full capacity, zero-filled; once.
  void Allocate();
  bool Allocated() const { return Live.Times != nullptr; }

  SampleBuffers Live;
  SampleBuffers Opened;
  int SampleCount = 0;       // samples taken, 0 to 450000
  int OpenedLastIndex = -1;  // the opened recording's count minus 1
  int RecordSelection[kRecordChannels] = {0, 0, 0, 0, 0, 0};
  int StepInterval = 0;  // ms; 0 until set, which never fires
  int SaveInterval = 0;  // ms
  bool RecordFileReady = false;
  QString RecordFileName;
  QByteArray RecordFilePath;  // RecordFileName encoded for the system, for the save tick
  int ViewMode = 0;           // 0 the recording being taken, 1 the opened one
  RecordBlockData RecordBlock{};
  RecordBlockData ReadBlock{};
};

// The program's recordings.
extern RecordState Recording;

// Puts `state` back as at program start, keeping its buffers (zero-filled again).
void ResetRecordState(RecordState& state);

// The value recorded for parameter `index` from a snapshot of the data model; 0 for an
// index that names no parameter (an edited settings file, or a list left without choice).
float RecordedValue(const MeasurementRecord& record, int index);

// One sampling step: the six selected values of `record` and the time `days` go to index
// SampleCount of the live buffers. Returns true when the capacity has been reached (then
// no further sample is taken). Allocates nothing.
bool TakeSample(RecordState& state, const MeasurementRecord& record, double days);

// New: clears the record block, puts the selection's low bytes into its parameter bytes,
// writes it as the only record of `path` and makes `path` the file the saves write to.
// Only once the file exists is the recording reset (count 0) and the file made ready; a
// failure throws AppError and changes nothing.
void NewRecordFile(RecordState& state, const QString& path);

// One save tick; an empty text on success, else the reason. Nothing is written before New.
QString SaveTick(RecordState& state);

// Open: reads `path` into the opened buffers and sets OpenedLastIndex; returns what the
// file held. Throws AppError when it cannot be read.
OpenedRecording OpenRecordFile(RecordState& state, const QString& path);
