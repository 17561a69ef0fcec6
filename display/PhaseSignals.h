#pragma once
// The six signals of the three-phase page: the voltages Ua, Ub, Uc and the currents Ia, Ib,
// Ic of channels 1, 2, 3, with the colours of their traces, phasors and labels.

#include <QColor>
#include <array>

enum PhaseSignal { kUa, kUb, kUc, kIa, kIb, kIc };
inline constexpr int kPhaseSignalCount = 6;

inline const QColor kPhaseSignalColours[kPhaseSignalCount] = {
    QColor(255, 215, 0), QColor(0, 128, 0), QColor(255, 0, 0),
    QColor(0, 255, 255), QColor(0, 0, 255), QColor(0, 255, 0)};

// Which signals a plot draws, indexed by PhaseSignal.
using SignalSelection = std::array<bool, kPhaseSignalCount>;

inline constexpr bool IsCurrentSignal(int signal) {
  return signal >= kIa;
}
inline constexpr int SignalChannel(int signal) {
  return signal % 3;
}  // 0 to 2
