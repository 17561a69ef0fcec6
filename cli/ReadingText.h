#pragma once
// A reading as text for scripts: the values of the pages as the screen shows them, one a
// line, and the raw numbers as JSON.

#include <QByteArray>
#include <QStringList>

#include "display/MeasurementModel.h"

// "Channel 1\tVoltage\tTRMS\t230.45 V": page, value box, caption and text of every value
// of the three channel pages and of the three-phase page, in the pages' order.
QStringList ReadingLines(const MeasurementRecord& record);

// {"date", "wiring", "channels": [three objects], "three_phase": {…}} with the raw number
// of every field the pages show, by field name; NaN and infinities as null.
QByteArray ReadingJson(const MeasurementRecord& record);
