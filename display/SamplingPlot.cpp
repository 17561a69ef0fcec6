#include "display/SamplingPlot.h"

#include "display/DivisionGrid.h"
#include "display/PlotDrawing.h"
#include "display/WaveTrace.h"

void DrawSamplingPlot(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                      QColor backColour, const MeasurementSet& set, const SignalSelection& shown) {
  FillPlotRect(target, plotRect, backColour.rgb());
  DrawDivisionGrid(target, H, W, gridColour);
  // Currents before the voltages of the same channel, channel by channel.
  constexpr PhaseSignal kOrder[kPhaseSignalCount] = {kIa, kUa, kIb, kUb, kIc, kUc};
  for (PhaseSignal signal : kOrder) {
    if (!shown[signal]) continue;
    const ChannelBlock& block = set.Channel[SignalChannel(signal)];
    const bool current = IsCurrentSignal(signal);
    const WaveSamples samples = CopyWaveSamples(block, current);
    DrawWaveTrace(target, samples, H, TraceScale(samples, current, H), TraceStep(block, W),
                  kPhaseSignalColours[signal].rgb(), 2);
  }
}
