#include "app/WindowRouter.h"

#include <gtest/gtest.h>

#include "app/TMainForm.h"

namespace {

class RecordingAlarmView : public AlarmView {
 public:
  void AlarmFormCreate() override { calls << "fill"; }
  void SetAlarmStatusText(const QString& text) override { calls << "status " + text; }
  QStringList calls;
};

class RecordingCalibrationView : public CalibrationView {
 public:
  void SetCalibrationEditText(int edit, const QString& text) override {
    calls << QString("Edit%1 %2").arg(edit).arg(text);
  }
  QStringList calls;
};

TEST(WindowRouter, RoutesToRegisteredViewsAndIgnoresTheOthers) {
  TMainForm main;
  WindowRouter& router = main.Router();
  // Nothing registered: the calls do nothing and the speed is unknown.
  router.AlarmFormCreate();
  router.ShowInstrumentSetup();
  router.SetCalibrationEditText(7, "1.5");
  EXPECT_EQ(router.SpeedIndex(), -1);

  RecordingAlarmView alarm;
  RecordingCalibrationView calibration;
  router.SetAlarmView(&alarm);
  router.SetCalibrationView(&calibration);
  router.AlarmFormCreate();
  router.SetAlarmStatusText("The transmission data is completed.");
  router.SetCalibrationEditText(9, "1.5");
  EXPECT_EQ(alarm.calls, QStringList({"fill", "status The transmission data is completed."}));
  EXPECT_EQ(calibration.calls, QStringList({"Edit9 1.5"}));

  // The main window's own parts reach the main window.
  router.SetStatusText(1, "Communications to complete");
  EXPECT_EQ(main.StatusBar->PanelText(1), "Communications to complete");

  router.SetAlarmView(nullptr);  // unregistered again: back to doing nothing
  router.AlarmFormCreate();
  EXPECT_EQ(alarm.calls.size(), 2);
}

}  // namespace
