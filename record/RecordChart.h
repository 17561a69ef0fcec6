#pragma once
// The record chart: six channels as curves over time, the newest sample at the left edge
// and older ones to the right, one sample per pixel column (every zoom-th), scaled per
// channel, with overflow triangles, the per-division texts and the percentage strip. The
// drawing is a free function of the view state, shared by the record window, the record
// report page and the batch tool; the zoom, paging and scale rules are plain functions of
// the same state.

#include <QColor>
#include <QLocale>
#include <QPainter>
#include <QString>

#include "record/RecordFile.h"

inline constexpr int kScaleCount = 17;
extern const double ScaleTable[kScaleCount];

// Curves, markers and scale texts, channels A to F.
extern const QColor kRecordChannelColours[kRecordChannels];

// Zoom (samples per pixel column, 1 or more) and offset (newest samples skipped) of one view.
struct ChartView {
  int Zoom = 1;
  int Offset = 0;
};

struct RecordChartState {
  ChartView Live;
  ChartView Opened;
  int RangeMode = 0;  // 0 positive values only, 1 both signs, 2 negative only
  bool ChannelVisible[kRecordChannels] = {true, true, true, true, true, true};
  int ChannelScaleIndex[kRecordChannels] = {3, 3, 3, 3, 3, 3};
  double ChannelScale[kRecordChannels] = {3, 3, 3, 3, 3, 3};
  bool OverflowHigh[kRecordChannels] = {};
  bool OverflowLow[kRecordChannels] = {};
  int GridPhase = 0;  // 0 to 19
};

// The recording the chart shows and how much of it.
struct ChartData {
  const SampleBuffers* Buffers = nullptr;
  int Count = 0;  // SampleCount (view 0) or OpenedLastIndex (view 1)
  int Last = -1;  // SampleCount − 1 or OpenedLastIndex
  bool FileReady = false;
  int ViewMode = 0;
};

// What a drawing tells the record window's status bar and marker images.
struct ChartTexts {
  int Points = 0;
  QString Step;                         // "Setp: 1S"
  QString Length;                       // "Length: 0"
  QString Start;                        // "Start: …", empty when no point is drawn
  QString End;                          // "End: …" / "End:…", empty when no point is drawn
  int MarkerTop[kRecordChannels] = {};  // y of each channel's marker image top
};

// The view the chart shows.
ChartView& CurrentView(RecordChartState& state, int viewMode);

// Draws the chart of W × H pixels onto `painter` and recomputes the overflow flags.
ChartTexts DrawRecordChart(QPainter& painter, int W, int H, RecordChartState& state,
                           const ChartData& data, QColor background, QColor grid,
                           const QLocale& locale = QLocale::system());

// The 50-pixel percentage strip at the chart's right, H high.
void DrawScaleStrip(QPainter& painter, int H, int rangeMode);

// The height in pixels of `value` on a chart of height H at `scale`: R(value · scale ·
// (H − 32) / 500), halves to even; values beyond the reach of an int (and infinities) are
// held at ±10^6, NaN is drawn as 0.
int ChartHeight(float value, double scale, int H);

// The value of one division of a channel at `scale`, and the texts "CH1/DIV=" … with it.
double DivisionValue(double scale, int rangeMode);
QString DivisionText(int channel, double scale, int rangeMode);
