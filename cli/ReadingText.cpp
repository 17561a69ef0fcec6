#include "cli/ReadingText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "display/PageValueTable.h"

namespace {

// A float32 as the shortest decimal that reads back as it (230.45, not 230.4499969482422);
// null where JSON has no number.
QJsonValue JsonNumber(double number, bool counter) {
  if (!std::isfinite(number)) return QJsonValue::Null;
  if (counter) return number;
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text - 1, static_cast<float>(number));
  *result.ptr = '\0';
  return std::strtod(text, nullptr);
}

QString DateText(const MeasurementRecord& record) {
  const char* text = record.DateTimeText;
  return QString::fromLocal8Bit(text,
                                static_cast<qsizetype>(strnlen(text, sizeof record.DateTimeText)));
}

}  // namespace

QStringList ReadingLines(const MeasurementRecord& record) {
  QStringList lines;
  for (int channel = 1; channel <= 3; ++channel) {
    const ChannelBlock& block = record.Set.Channel[channel - 1];
    for (const ChannelValueField& field : ChannelValueFields()) {
      lines << QStringList{ChannelPageTitle(channel), kChannelBoxTitles[field.box],
                           QString::fromUtf8(field.caption),
                           ChannelValueText(field, block, channel)}
                   .join('\t');
    }
  }
  const uint8_t wiring = record.Set.Channel[0].Wiring;
  for (const ThreePhaseValueField& field : ThreePhaseValueFields()) {
    lines << QStringList{kThreePhasePageTitle, kThreePhaseBoxTitles[field.box],
                         QString::fromUtf8(field.caption),
                         ThreePhaseValueText(field, record.Set, wiring)}
                 .join('\t');
  }
  return lines;
}

QByteArray ReadingJson(const MeasurementRecord& record) {
  QJsonArray channels;
  for (const ChannelBlock& block : record.Set.Channel) {
    QJsonObject values;
    for (const ChannelValueField& field : ChannelValueFields())
      values.insert(field.name, JsonNumber(ChannelFieldNumber(field, block), field.counter));
    channels.append(values);
  }
  QJsonObject threePhase;
  for (const ThreePhaseValueField& field : ThreePhaseValueFields()) {
    if (field.channel != kThreePhaseSource) continue;  // shown in the channels already
    threePhase.insert(field.name,
                      JsonNumber(ThreePhaseFieldNumber(field, record.Set), field.counter));
  }
  QJsonObject root;
  root.insert("date", DateText(record));
  root.insert("wiring", record.Set.Channel[0].Wiring);
  root.insert("channels", channels);
  root.insert("three_phase", threePhase);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
