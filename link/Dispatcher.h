#pragma once
// Handling of the instrument's answers: wait for the whole answer, check it, copy it into
// the block it belongs to and tell the windows. Runs from the port's receive event.

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>

#include "display/DateTimeText.h"
#include "display/MeasurementModel.h"

class LinkPort;
class LinkView;

inline constexpr int kResponseBufferSize = 163841;
// Every input is copied here from index 0; bytes beyond it keep what earlier inputs left.
extern uint8_t ResponseBuffer[kResponseBufferSize];

// Sleep per progress step while an all-channels answer arrives, by speed index 0 to 7;
// 0 for any other index.
uint32_t AnswerWaitPerStep(int speedIndex);

// The receive event handler of the main window's port.
void Comm1ReceiveData(LinkPort& port, LinkView& view);

// Replaces NaN in the fields the pages cannot show without it (see the .cpp).
void RepairMeasurementSet(MeasurementSet& set);

// The reading's time as the record keeps it: the system's text when it fits the 19 bytes,
// else "yyyy-MM-dd HH:mm:ss" (exactly 19 characters), so that no digit is cut off.
QString StoredReadingText(const QString& text, const QDateTime& when);
// Keeps the first 19 characters of `text` in the record, zero-filled.
void StoreDateTimeText(MeasurementRecord& record, const QString& text);
