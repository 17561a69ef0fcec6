#pragma once
// The instrument without a window: the application's port component, dispatcher and
// sampling control, driven by the batch tool. It stands in for the main window towards
// them; the pages it would refresh do not exist, and a completed reading is counted.

#include <QString>
#include <functional>

#include "cli/CliOptions.h"
#include "link/LinkView.h"
#include "link/SamplingControl.h"
#include "link/SamplingView.h"
#include "link/TComm.h"

struct LinkOptions {
  PortTarget port;
  int speedIndex = 2;  // 14400 bit/s
  uint8_t address = 2;
  bool trace = false;  // every frame on stderr
};

// --port, --baud, --address and --trace, as every command that talks to the instrument has.
void AddLinkOptions(QCommandLineParser& parser);
LinkOptions LinkOptionsFrom(const QCommandLineParser& parser);

class InstrumentLink : public LinkView, public SamplingView {
 public:
  explicit InstrumentLink(const LinkOptions& options);
  ~InstrumentLink() override;

  // Opens the port with the application's line settings; a failure names the port and why.
  void Open();

  // One all-channels reading into MeasurementData, re-asked every 2 s as the application
  // does, until it has come or `timeoutMs` have passed; a failure tells what the link saw.
  void TakeReading(int timeoutMs);
  // Continuous sampling as Run → Continuous Sampling; readings go on arriving while the
  // event loop runs. WaitForReading waits for the first one.
  void StartContinuous();
  void WaitForReading(int timeoutMs);
  void Stop();

  int Readings() const { return readings_; }
  std::function<void()> onReading;  // after each completed reading

  // LinkView and SamplingView.
  void ShowProgressBar(int) override {}
  void SetProgressPosition(int) override {}
  void SetStatusText(int, const QString&) override {}
  void RefreshChannelPage(int) override {}
  void RefreshThreePhasePage() override {}
  void RefreshHarmonicGrid() override {}
  void SetReReadTimerEnabled(bool enabled) override;
  void SetContinuousReadTimerEnabled(bool enabled) override;
  void SetSamplingControlsEnabled(bool) override {}
  int SpeedIndex() const override { return options_.speedIndex; }
  void SetControlEnabled(SamplingControlId, bool) override {}

 private:
  // Runs the event loop until `done` holds or `timeoutMs` passed; true when it held.
  bool RunUntil(const std::function<bool()>& done, int timeoutMs);
  QString NoAnswerText(int timeoutMs) const;
  // Bytes still arriving from an answer another program asked for (the instrument finishes
  // what it was sending) would put every later answer out of step, each read beginning
  // inside a frame: they are dropped until the line has been quiet for a moment.
  void DrainStaleInput();

  LinkOptions options_;
  TComm comm_;
  SamplingControl control_;
  int readings_ = 0;
};
