#include "link/Dispatcher.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "display/ConfigBlocks.h"
#include "link/Frames.h"
#include "link/LinkLog.h"
#include "link/LinkState.h"
#include "platform/Sleep.h"
#include "support/FakeLinkPort.h"
#include "support/FakeLinkView.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An answer as the instrument sends it: address, function, a byte count, payload, CRC.
Bytes Answer(uint8_t function, const Bytes& payload, uint8_t third = 0) {
  Bytes frame = {2, function, third ? third : static_cast<uint8_t>(payload.size() & 0xFF)};
  frame.insert(frame.end(), payload.begin(), payload.end());
  const uint16_t crc = Crc16(frame.data(), frame.size());
  frame.push_back(crc & 0xFF);
  frame.push_back(crc >> 8);
  return frame;
}

Bytes SetBytes(const MeasurementSet& set) {
  const auto* p = reinterpret_cast<const uint8_t*>(&set);
  return Bytes(p, p + sizeof set);
}

template <typename T>
void PutAt(Bytes& bytes, size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <typename T>
T GetAt(const void* base, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const uint8_t*>(base) + offset, sizeof value);
  return value;
}

class Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    previousSleep_ = SetSleepFunction([this](uint32_t ms) { sleeps.push_back(ms); });
    SetLinkPort(&port);
    InitMeasurementRecord(MeasurementData);
    ResetLinkState();
    LastReadRegister = 41;
    LastReadCount = 2;
    KeepAliveTicks = ReceiveSilenceTicks = 7;
  }
  void TearDown() override {
    SetSleepFunction(previousSleep_);
    SetLinkPort(nullptr);
  }

  // Sends a read request as sampling control does, so that PendingRequest holds its key.
  void StartRead(uint16_t reg, uint16_t count) {
    LastReadRegister = reg;
    LastReadCount = count;
    SendReadRequest(SlaveAddress, reg, count);
    port.writes.clear();
  }

  void Receive(const Bytes& input) {
    port.input = input;
    Comm1ReceiveData(port, view);
  }

  MeasurementSet SampleSet() {
    MeasurementSet set{};
    for (int c = 0; c < 3; ++c) {
      set.Channel[c].VoltageTrms = 230.0f + c;
      set.Channel[c].CurrentTrms = 5.0f + c;
      set.Channel[c].WaveSampleCount = 512;
      set.Channel[c].VoltageWave[37] = -32768;
    }
    set.Channel[0].Wiring = 1;
    set.ThreePhase.LineVoltageAB = 398.4f;
    return set;
  }

  FakeLinkPort port;
  FakeLinkView view;
  std::vector<uint32_t> sleeps;

 private:
  SleepFunction previousSleep_;
};

TEST_F(Dispatcher, WaitsFiftyStepsPerSpeedForTheAllChannelsAnswer) {
  const uint32_t perStep[] = {360, 156, 108, 78, 39, 27, 18, 15};
  for (int index = -1; index <= 8; ++index) {
    SCOPED_TRACE(index);
    sleeps.clear();
    view.speedIndex = index;
    StartRead(41, 2);
    Receive({});
    const uint32_t step = index >= 0 && index < 8 ? perStep[index] : 0;
    std::vector<uint32_t> expected = {15};
    if (step != 0) expected.insert(expected.end(), 50, step);
    EXPECT_EQ(sleeps, expected);
    EXPECT_EQ(view.progress, 50);
  }
}

TEST_F(Dispatcher, OtherRegistersRunTheStepsWithoutSleeping) {
  view.speedIndex = 0;
  StartRead(1, 52);
  Receive({});
  EXPECT_EQ(sleeps, std::vector<uint32_t>{15});
  EXPECT_EQ(view.progress, 50);
}

TEST_F(Dispatcher, UsbModeTakesTheReadingAfterTwentyMilliseconds) {
  UsbMode = 1;
  view.speedIndex = 0;
  StartRead(41, 2);
  Receive({});
  EXPECT_EQ(sleeps, (std::vector<uint32_t>{15, 5}));
  EXPECT_EQ(view.progress, 100);

  sleeps.clear();
  StartRead(28, 10);
  Receive({});
  EXPECT_EQ(sleeps, std::vector<uint32_t>{15});
}

TEST_F(Dispatcher, AllChannelsAnswerFillsTheSetAndRefreshesInOrder) {
  SamplingMode = kSamplingSingle;
  StartRead(41, 2);
  MeasurementData.Reserved[5] = 0x77;  // the tail is not part of an answer
  const MeasurementSet set = SampleSet();
  Receive(Answer(0x03, SetBytes(set)));

  EXPECT_EQ(std::memcmp(&MeasurementData.Set, &set, sizeof set), 0);
  EXPECT_EQ(MeasurementData.Reserved[5], 0x77);
  ASSERT_GE(view.calls.size(), 7);
  EXPECT_EQ(
      view.calls.mid(0, 7),
      (QStringList{"ShowProgressBar 0", "RefreshChannel 1", "RefreshChannel 2", "RefreshChannel 3",
                   "RefreshThreePhase", "RefreshGrid", "Status 0 Communications to complete"}));
  EXPECT_TRUE(view.calls[7].startsWith("Status 5 Date: "));
  EXPECT_EQ(view.calls.mid(8), (QStringList{"ReReadTimer 0", "SamplingControls 1"}));
  EXPECT_EQ(SamplingMode, kSamplingIdle);
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(Dispatcher, ContinuousReadingArmsTheNextRequest) {
  SamplingMode = kSamplingContinuous;
  StartRead(41, 2);
  Receive(Answer(0x03, SetBytes(SampleSet())));
  EXPECT_EQ(view.calls.mid(view.calls.size() - 2),
            (QStringList{"ReReadTimer 0", "ContinuousTimer 1"}));
  EXPECT_EQ(SamplingMode, kSamplingContinuous);
}

TEST_F(Dispatcher, DateTimeTextOfTheReadingIsStored) {
  StartRead(41, 2);
  Receive(Answer(0x03, SetBytes(SampleSet())));
  const QString status = view.calls[7].mid(QString("Status 5 Date: ").size());
  const QByteArray stored(MeasurementData.DateTimeText, 19);
  if (status.toLocal8Bit().size() <= 19) {
    QByteArray expected = status.toLocal8Bit();
    expected.append(QByteArray(19 - expected.size(), '\0'));
    EXPECT_EQ(stored, expected);
  } else {
    // Too long for the record (the C locale's "10 Dec 2026 14:48:45"): the ISO text, whole.
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(QString::fromLatin1(stored))
                    .hasMatch())
        << stored.toStdString();
    EXPECT_TRUE(status.endsWith(QString::fromLatin1(stored.mid(11)))) << status.toStdString();
  }
}

TEST_F(Dispatcher, NaNIsRepairedInTheListedFieldsOnly) {
  struct NaNCase {
    size_t offset;
    bool isDouble;
    bool repaired;
  };
  const NaNCase cases[] = {
      {offsetof(ChannelBlock, VoltageTrms), false, true},
      {offsetof(ChannelBlock, VoltagePeak), false, true},
      {offsetof(ChannelBlock, Frequency), false, true},
      {offsetof(ChannelBlock, VoltageCrestFactor), false, true},
      {offsetof(ChannelBlock, VoltageThdF), false, true},
      {offsetof(ChannelBlock, CurrentTrms), false, true},
      {offsetof(ChannelBlock, CurrentPeak), false, true},
      {offsetof(ChannelBlock, CurrentPhase), false, true},
      {offsetof(ChannelBlock, CurrentCrestFactor), false, true},
      {offsetof(ChannelBlock, CurrentThdF), false, true},
      {offsetof(ChannelBlock, ActivePower), false, true},
      {offsetof(ChannelBlock, ApparentPower), false, true},
      {offsetof(ChannelBlock, ReactivePower), false, true},
      {offsetof(ChannelBlock, PowerFactor), false, true},
      {offsetof(ChannelBlock, EnergyKwh), true, true},
      {offsetof(ChannelBlock, VoltagePeakToPeak), false, false},
      {offsetof(ChannelBlock, VoltagePhase), false, false},
      {offsetof(ChannelBlock, PeakPower), false, false},
      {offsetof(ChannelBlock, EnergyPositive), true, false},
  };
  for (int channel = 0; channel < 3; ++channel) {
    for (const NaNCase& c : cases) {
      SCOPED_TRACE(testing::Message() << "channel " << channel + 1 << " offset " << c.offset);
      Bytes payload = SetBytes(SampleSet());
      const size_t at = static_cast<size_t>(channel) * kChannelBlockSize + c.offset;
      if (c.isDouble) {
        PutAt(payload, at, std::numeric_limits<double>::quiet_NaN());
      } else {
        PutAt(payload, at, std::numeric_limits<float>::quiet_NaN());
      }
      StartRead(41, 2);
      Receive(Answer(0x03, payload));
      const double value =
          c.isDouble ? GetAt<double>(&MeasurementData, at) : GetAt<float>(&MeasurementData, at);
      EXPECT_EQ(std::isnan(value), !c.repaired);
      if (c.repaired) {
        EXPECT_EQ(value, 0.0);
      }
    }
  }
}

TEST_F(Dispatcher, InfinityStaysAndLineVoltageNaNBecomesOne) {
  Bytes payload = SetBytes(SampleSet());
  PutAt(payload, offsetof(ChannelBlock, VoltageTrms), std::numeric_limits<float>::infinity());
  PutAt(payload, 7932, std::numeric_limits<float>::quiet_NaN());
  PutAt(payload, 7936, std::numeric_limits<float>::quiet_NaN());  // LineVoltageBC stays
  StartRead(41, 2);
  Receive(Answer(0x03, payload));
  EXPECT_TRUE(std::isinf(MeasurementData.Set.Channel[0].VoltageTrms));
  EXPECT_EQ(MeasurementData.Set.ThreePhase.LineVoltageAB, 1.0f);
  EXPECT_TRUE(std::isnan(MeasurementData.Set.ThreePhase.LineVoltageBC));
}

TEST_F(Dispatcher, BadCrcAsksOnceForTheLastReadAndChangesNothing) {
  StartRead(41, 2);
  LastReadRegister = 28;  // the re-send uses the last read, not the routing key
  LastReadCount = 10;
  const MeasurementRecord before = MeasurementData;
  Bytes answer = Answer(0x03, SetBytes(SampleSet()));
  answer.back() ^= 0x01;
  Receive(answer);
  EXPECT_EQ(std::memcmp(&MeasurementData, &before, sizeof before), 0);
  ASSERT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(port.writes[0], (Bytes{2, 0x03, 0x00, 0x1C, 0x00, 0x0A, 0x04, 0x38}));
  EXPECT_EQ(view.calls, QStringList{"ShowProgressBar 0"});
}

TEST_F(Dispatcher, AnswerShorterThanItsBlockIsAskedForAgainAndChangesNothing) {
  struct ShortCase {
    uint16_t reg;
    uint16_t count;
    int payload;
  };
  const ShortCase cases[] = {{41, 2, 4095}, {41, 2, 8155}, {1, 52, 51}, {28, 10, 9}, {815, 2, 3}};
  for (const ShortCase& c : cases) {
    SCOPED_TRACE(c.reg);
    InitMeasurementRecord(MeasurementData);
    std::memset(&AlarmBlock, 0, sizeof AlarmBlock);
    std::memset(&InstrumentSetup, 0, sizeof InstrumentSetup);
    // Stale bytes of a longer earlier answer must not complete a short one.
    std::memset(ResponseBuffer, 0xAB, 9000);
    view.calls.clear();
    StartRead(c.reg, c.count);
    Receive(Answer(0x03, Bytes(static_cast<size_t>(c.payload), 0x11)));
    EXPECT_EQ(MeasurementData.Set.Channel[0].VoltageTrms, 0.0f);
    EXPECT_EQ(MeasurementData.Set.Channel[0].WaveSampleCount, 512);
    EXPECT_EQ(AlarmBlock.AlarmMode, 0);
    EXPECT_EQ(InstrumentSetup.FilterCoefficient, 0);
    EXPECT_EQ(view.calls, QStringList{"ShowProgressBar 0"});
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0][3], c.reg & 0xFF);
  }
}

TEST_F(Dispatcher, FewerThanFiveBytesAreIgnoredButResetTheWatchdogInUsbMode) {
  UsbMode = 1;
  StartRead(41, 2);
  Receive({2, 3, 4, 5});
  EXPECT_EQ(KeepAliveTicks, 0);
  EXPECT_EQ(ReceiveSilenceTicks, 0);
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(view.calls, QStringList{"ShowProgressBar 0"});
  EXPECT_EQ(Bytes(ResponseBuffer, ResponseBuffer + 4), (Bytes{2, 3, 4, 5}));
}

// The link log tells what became of each answer; a keep-alive's answer is expected, not an
// error, though nothing is done with it.
TEST_F(Dispatcher, TheLogMarksEachAnswersFate) {
  struct FateCase {
    uint16_t reg;
    Bytes answer;
    FrameOutcome outcome;
  };
  const FateCase cases[] = {
      {45, Answer(0x03, Bytes{0, 0}), FrameOutcome::Routed},
      {41, Answer(0x03, Bytes(100, 0)), FrameOutcome::WrongLength},
      {999, Answer(0x03, Bytes{1, 2, 3, 4}), FrameOutcome::NotRouted},
      {41, Bytes{2, 3, 0, 0, 0, 0}, FrameOutcome::BadCrc},
  };
  for (const FateCase& c : cases) {
    SCOPED_TRACE(c.reg);
    StartRead(c.reg, 2);
    Receive(c.answer);
    const LinkLog& log = TheLinkLog();
    size_t last = log.Size() - 1;
    while (log.At(last).Direction != FrameDirection::Answer) --last;
    EXPECT_EQ(log.At(last).Outcome, c.outcome);
    EXPECT_EQ(log.At(last).RoutedRegister, c.reg);
  }
}

TEST_F(Dispatcher, PlainPortKeepsTheWatchdogCounters) {
  StartRead(41, 2);
  Receive({2, 3, 4});
  EXPECT_EQ(KeepAliveTicks, 7);
}

TEST_F(Dispatcher, WriteAcknowledgementsReachTheirWindowOnly) {
  struct AckCase {
    uint8_t reg;
    QStringList calls;
  };
  const AckCase cases[] = {
      {1, {"ShowProgressBar 0", "AlarmStatus The transmission data is completed."}},
      {28, {"ShowProgressBar 0", "SetupStatus Data is successfully written instrument"}},
      {30, {"ShowProgressBar 0"}},
  };
  for (const AckCase& c : cases) {
    SCOPED_TRACE(c.reg);
    view.calls.clear();
    Receive(Answer(0x09, {0x00, 0x00}, c.reg));
    EXPECT_EQ(view.calls, c.calls);
  }
}

TEST_F(Dispatcher, OtherFunctionCodesAreIgnored) {
  StartRead(41, 2);
  Receive(Answer(0x83, SetBytes(SampleSet())));
  EXPECT_EQ(MeasurementData.Set.Channel[0].VoltageTrms, 0.0f);
  EXPECT_EQ(view.calls, QStringList{"ShowProgressBar 0"});
}

TEST_F(Dispatcher, AlarmAndSetupAnswersFillTheirBlocks) {
  Bytes alarm(52);
  for (size_t i = 0; i < alarm.size(); ++i) alarm[i] = static_cast<uint8_t>(i);
  StartRead(1, 52);
  Receive(Answer(0x03, alarm));
  EXPECT_EQ(std::memcmp(&AlarmBlock, alarm.data(), 52), 0);
  EXPECT_EQ(view.calls.mid(1),
            (QStringList{"AlarmFormCreate", "Status 0 Status: synchronization with the instrument",
                         "AlarmStatus Has been synchronized with the instrument data"}));

  view.calls.clear();
  const Bytes setup = {0x0A, 0x00, 0x01, 0x03, 0x0F, 0x01, 0x01, 0x04, 0x04, 0x1E};
  StartRead(28, 10);
  Receive(Answer(0x03, setup));
  EXPECT_EQ(std::memcmp(&InstrumentSetup, setup.data(), 10), 0);
  EXPECT_EQ(InstrumentSetup.DemandWindow, 30);
  EXPECT_EQ(view.calls.mid(1), QStringList{"ShowInstrumentSetup"});
}

TEST_F(Dispatcher, CalibrationReadsShowTheFloatWithFifteenDigits) {
  const uint16_t registers[] = {815, 816, 829, 830, 843, 844};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(registers[i]);
    view.calls.clear();
    StartRead(registers[i], 2);
    Bytes payload(4);
    PutAt(payload, 0, 0.1f);
    Receive(Answer(0x03, payload));
    EXPECT_EQ(view.calls.mid(1), QStringList{QString("Edit%1 0.100000001490116").arg(7 + i)});
  }
}

TEST_F(Dispatcher, UnmappedRegisterAnswersChangeNothing) {
  StartRead(45, 15);
  Receive(Answer(0x03, Bytes(15, 0x42)));
  EXPECT_EQ(view.calls, QStringList{"ShowProgressBar 0"});
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(Dispatcher, AWriteSentMeanwhileReroutesALateReading) {
  StartRead(41, 2);
  uint8_t block[kMaxBlockBytes] = {};
  SendWriteBlock(SlaveAddress, 1, block, 52);  // the alarm window saves meanwhile
  const MeasurementSet set = SampleSet();
  Receive(Answer(0x03, SetBytes(set)));
  EXPECT_EQ(std::memcmp(&AlarmBlock, &set, 52), 0);
  EXPECT_EQ(MeasurementData.Set.Channel[0].VoltageTrms, 0.0f);
}

TEST(DateTimeText, KeepsNineteenCharactersAndZeroFillsShorterTexts) {
  struct TextCase {
    QString text;
    QByteArray stored;
  };
  const TextCase cases[] = {
      {"2026-12-10 09:30:15", "2026-12-10 09:30:15"},
      {"2026-12-10 09:30:15 UTC", "2026-12-10 09:30:15"},
      {"12/10/26 9:30:15", QByteArray("12/10/26 9:30:15\0\0\0", 19)},
      {"", QByteArray(19, '\0')},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    MeasurementRecord record;
    std::memset(&record, 0xFF, sizeof record);
    StoreDateTimeText(record, c.text);
    EXPECT_EQ(QByteArray(record.DateTimeText, 19), c.stored);
    EXPECT_EQ(record.Reserved[0], 0xFF);
  }
}

// A system text longer than the record's 19 bytes ("10 Dec 2026 14:48:45" in the C locale)
// is stored as the ISO text, which keeps every digit.
TEST(DateTimeText, ATextTooLongForTheRecordIsStoredInIsoForm) {
  const QDateTime when(QDate(2026, 12, 10), QTime(14, 48, 45));
  const QString system = ReadingDateTimeText(QLocale(QLocale::C), when);
  ASSERT_EQ(system, "10 Dec 2026 14:48:45");
  EXPECT_EQ(StoredReadingText(system, when), "2026-12-10 14:48:45");
  EXPECT_EQ(StoredReadingText("12/10/26 2:48:45 PM", when), "12/10/26 2:48:45 PM");
  MeasurementRecord record{};
  StoreDateTimeText(record, StoredReadingText(system, when));
  EXPECT_EQ(QByteArray(record.DateTimeText, 19), "2026-12-10 14:48:45");
}

TEST(DateTimeText, ShortDateBlankLongTimeWithoutTheZone) {
  const QDateTime when(QDate(2026, 12, 10), QTime(9, 30, 15));
  EXPECT_EQ(LongTimeFormat(QLocale(QLocale::C)), "HH:mm:ss");
  EXPECT_EQ(ReadingDateTimeText(QLocale(QLocale::C), when), "10 Dec 2026 09:30:15");
  for (QLocale::Language language : {QLocale::English, QLocale::German, QLocale::Chinese}) {
    const QLocale locale(language);
    EXPECT_FALSE(LongTimeFormat(locale).contains('t')) << locale.name().toStdString();
    EXPECT_TRUE(ReadingDateTimeText(locale, when)
                    .startsWith(locale.toString(when.date(), QLocale::ShortFormat) + " "));
  }
}

}  // namespace

namespace {

// Whatever bytes arrive, routing stays defined: random answers with valid CRCs for every
// register the dispatcher knows, of every length, under the sanitizers.
TEST_F(Dispatcher, RandomAnswersNeverMisbehave) {
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const uint16_t registers[] = {1, 28, 41, 44, 45, 815, 844, 0, 65535};
  const uint8_t functions[] = {0x03, 0x09, 0x10, 0x83, 0x00};
  for (int round = 0; round < 400; ++round) {
    StartRead(registers[next() % 9], static_cast<uint16_t>(next()));
    const size_t length = next() % 3 == 0 ? 8161 : next() % 9000;
    Bytes payload(length);
    for (uint8_t& b : payload) b = static_cast<uint8_t>(next());
    Receive(Answer(functions[next() % 5], payload, static_cast<uint8_t>(next())));
    // The only thing the dispatcher ever sends is the last read again.
    for (const Bytes& frame : port.writes) {
      ASSERT_EQ(frame.size(), 8u);
      EXPECT_EQ(frame[1], 0x03);
      EXPECT_EQ(frame[2] << 8 | frame[3], LastReadRegister);
      EXPECT_EQ(frame[4] << 8 | frame[5], LastReadCount);
    }
  }
}

}  // namespace
