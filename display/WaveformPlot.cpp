#include "display/WaveformPlot.h"

#include <QPainter>
#include <cmath>

#include "display/DivisionGrid.h"
#include "display/PlotDrawing.h"
#include "display/ValueFormat.h"
#include "display/WaveTrace.h"

namespace {

// Text of a value rounded to two decimals, in general form without an added ".0".
QString TwoDecimals(double value) {
  return GeneralText(std::nearbyint(value * 100) / 100);
}

}  // namespace

QString WaveformLegendText(const ChannelBlock& block) {
  const float frequency = block.Frequency;
  const QString time =
      frequency > 0 ? GeneralText(std::nearbyint(0.4 / frequency * 100000) / 100) : "8";
  const QString volts = block.VoltageTrms > 0 ? TwoDecimals(block.VoltagePeak / 4.0) : "50";
  const QString amps = block.CurrentTrms > 0 ? TwoDecimals(block.CurrentPeak / 3.0) : "1";
  return "SEC/DIV:" + time + "ms   " + "Vol/DIV:" + volts + "V   " + "Amp/DIV:" + amps + "A   " +
         "Trigger Source:" + "Vol";
}

void DrawWaveformPlot(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                      const ChannelBlock& block, QColor backColour, QColor currentColour,
                      QColor voltageColour) {
  FillPlotRect(target, plotRect, backColour.rgb());
  DrawDivisionGrid(target, H, W, gridColour);

  // Current first, to its peak at mid - H/8 from the centre; voltage over it, to mid.
  const float step = TraceStep(block, W);
  const WaveSamples current = CopyWaveSamples(block, true);
  DrawWaveTrace(target, current, H, TraceScale(current, true, H), step, currentColour.rgb(), 1);
  const WaveSamples voltage = CopyWaveSamples(block, false);
  DrawWaveTrace(target, voltage, H, TraceScale(voltage, false, H), step, voltageColour.rgb(), 1);

  QPainter painter(&target);
  painter.setFont(PlotTextFont());
  painter.setPen(kLegendColour);
  DrawPlotText(painter, QPoint(5, H - 10), WaveformLegendText(block));
}
