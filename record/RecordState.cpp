#include "record/RecordState.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <memory>

RecordState Recording;

namespace {

void AllocateBuffers(SampleBuffers& buffers) {
  for (float*& values : buffers.Values) values = new float[kRecordCapacity]();
  buffers.Times = new double[kRecordCapacity]();
}

void ClearBuffers(SampleBuffers& buffers) {
  for (float* values : buffers.Values) std::fill_n(values, kRecordCapacity, 0.0f);
  std::fill_n(buffers.Times, kRecordCapacity, 0.0);
}

void FreeBuffers(SampleBuffers& buffers) {
  for (float*& values : buffers.Values) {
    delete[] values;
    values = nullptr;
  }
  delete[] buffers.Times;
  buffers.Times = nullptr;
}

}  // namespace

RecordState::~RecordState() {
  FreeBuffers(Live);
  FreeBuffers(Opened);
}

void RecordState::Allocate() {
  if (Allocated()) return;
  AllocateBuffers(Live);
  AllocateBuffers(Opened);
}

void ResetRecordState(RecordState& state) {
  if (state.Allocated()) {
    ClearBuffers(state.Live);
    ClearBuffers(state.Opened);
  }
  state.SampleCount = 0;
  state.OpenedLastIndex = -1;
  std::fill(std::begin(state.RecordSelection), std::end(state.RecordSelection), 0);
  state.StepInterval = state.SaveInterval = 0;
  state.RecordFileReady = false;
  state.RecordFileName.clear();
  state.RecordFilePath.clear();
  state.ViewMode = 0;
  state.RecordBlock = RecordBlockData{};
  state.ReadBlock = RecordBlockData{};
}

float RecordedValue(const MeasurementRecord& record, int index) {
  return index >= 0 && index < kParameterCount ? ParameterValue(record, index) : 0.0f;
}

bool TakeSample(RecordState& state, const MeasurementRecord& record, double days) {
  if (state.SampleCount >= kRecordCapacity) return true;
  const int i = state.SampleCount;
  for (int c = 0; c < kRecordChannels; ++c) {
    state.Live.Values[c][i] = RecordedValue(record, state.RecordSelection[c]);
  }
  state.Live.Times[i] = days;
  ++state.SampleCount;
  return state.SampleCount >= kRecordCapacity;
}

void NewRecordFile(RecordState& state, const QString& path) {
  RecordBlockData block{};
  for (int c = 0; c < kRecordChannels; ++c) {
    block.Parameters[c] = static_cast<uint8_t>(state.RecordSelection[c] & 0xFF);
  }
  CreateRecordFile(path, block);  // throws; then nothing below has happened
  state.RecordBlock = block;
  state.SampleCount = 0;
  state.RecordFileName = path;
  state.RecordFilePath = QFile::encodeName(path);
  state.RecordFileReady = true;
}

QString SaveTick(RecordState& state) {
  const int k = std::min(state.SampleCount / kSamplesPerRecord, kMaxRecords - 1);
  FillRecordBlock(state.RecordBlock, state.Live, k, state.SampleCount);
  if (!state.RecordFileReady || state.RecordFilePath.isEmpty()) return {};
  return SaveRecording(state.RecordFilePath.constData(), state.RecordBlock, state.Live,
                       state.SampleCount);
}

OpenedRecording OpenRecordFile(RecordState& state, const QString& path) {
  const OpenedRecording opened = ReadRecordFile(path, state.Opened, state.ReadBlock);
  state.OpenedLastIndex = opened.Count - 1;
  state.RecordFileReady = true;
  return opened;
}
