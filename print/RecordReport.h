#pragma once
// The record report page: the six recorded channels as curves, from the record chart's
// view state at the moment of drawing, with the percentage scale, the division texts, the
// channel names, the span shown, the note on the overflow marks and the information block.

#include <QString>

#include "print/PrintInfo.h"
#include "record/RecordChart.h"

class QPainter;

struct RecordReportData {
  ChartData Data;                  // the recording the chart shows
  QString Names[kRecordChannels];  // the channels' display names
  QString Panels[4];               // the record window's status panels 0, 2, 3 and 4
};

// The record window's status texts (step, start, end, length) for a chart of `columns`
// sample columns, as its chart computes them.
void FillRecordPanels(RecordReportData& report, RecordChartState& state, int columns);

// Sample columns of a page W × H with columns `p` pixels wide.
int RecordReportColumns(int W, int H, int p);

// Draws on `painter` a page of W × H device pixels; each sample column is `p` pixels wide
// (1 on the preview, 10 on paper). Recomputes the overflow flags of `state` for its points.
void DrawRecordReport(QPainter& painter, int W, int H, int p, RecordChartState& state,
                      const RecordReportData& data, const PrintInfo& info);
