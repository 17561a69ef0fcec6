#pragma once
// The three-phase report page: the six sampled signals, the vector diagram, the column
// of 24 three-phase values, the header and the information block.

#include <array>

#include "display/MeasurementModel.h"
#include "print/PrintInfo.h"

class QPainter;

// The vectors drawn: Ua, Ub, Uc, Ia, Ib, Ic (the three-phase page's vector check boxes).
using VectorChoice = std::array<bool, 6>;
inline constexpr VectorChoice kAllVectors = {true, true, true, true, true, true};

// Draws on `painter` a page of W × H device pixels for `record`, labelled page `page`.
void DrawThreePhaseReport(QPainter& painter, int W, int H, const MeasurementRecord& record,
                          int page, const VectorChoice& vectors, const PrintInfo& info);
