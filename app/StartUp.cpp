#include "app/StartUp.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/TLogoForm.h"
#include "app/TVForm.h"
#include "app/Tskin.h"
#include "config/TAlarmForm.h"
#include "config/TCalibrateForm.h"
#include "config/TInputNetSet.h"
#include "link/LinkLog.h"
#include "link/TCommForm.h"
#include "link/TLinkMonitorForm.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "platform/StartupTrace.h"
#include "print/TEnterInfoForm.h"
#include "print/TPrinterForm.h"
#include "record/TRecSetForm.h"
#include "record/TRecordForm.h"

ApplicationWindows CreateApplicationWindows(const QStringList& arguments) {
  StartupMark("windows");
  auto splash = std::make_unique<TLogoForm>();
  StartupMark("splash made");
  splash->show();
  splash->repaint();
  QApplication::processEvents();
  StartupMark("splash shown");
  if (StartupExitAfterFirstPaint()) std::exit(0);

  ApplicationWindows windows;
  windows.main = std::make_unique<TMainForm>();
  TMainForm* main = windows.main.get();
  RunHandler([&] { main->FormCreate(arguments); });

  TMainForm::Windows& w = windows.others;
  w.skin = new Tskin(main);
  RunHandler([&] { w.skin->FormCreate(); });
  w.version = new TVForm(main);
  main->SetWindows(w);
  w.comm = new TCommForm(*main->Comm1, main->Router(), main);
  main->Router().SetCommForm(w.comm);
  main->SetWindows(w);
  RunHandler([&] { w.comm->FormCreate(); });
  w.printer = new TPrinterForm(main);
  w.enterInfo = new TEnterInfoForm(main);
  w.record = new TRecordForm(main);
  RunHandler([&] { w.record->FormCreate(); });
  w.recSet = new TRecSetForm(w.record, main);
  RunHandler([&] { w.recSet->FormCreate(); });
  w.record->SetSettingsWindow(w.recSet);
  w.calibrate = new TCalibrateForm(main);
  w.calibrate->SetSampling(main->Sampling);
  w.alarm = new TAlarmForm(main);
  w.inputNetSet = new TInputNetSet(main);
  w.inputNetSet->SetHost(main);
  w.linkMonitor = new TLinkMonitorForm(TheLinkLog(), main);
  main->SetWindows(w);
  main->Router().SetCalibrationView(w.calibrate);
  main->Router().SetAlarmView(w.alarm);
  main->Router().SetInstrumentSettingsView(w.inputNetSet);
  return windows;
}

namespace {

// A demonstration without a user: continuous sampling starts shortly after start-up, and
// after RXM5620_DEMO_SECONDS the main window is saved as a picture and the program ends.
void ScheduleDemonstration(TMainForm& main, const QString& screenshot) {
  bool ok = false;
  int seconds = qEnvironmentVariableIntValue("RXM5620_DEMO_SECONDS", &ok);
  if (!ok || seconds <= 0) seconds = 20;
  QTimer::singleShot(1500, &main,
                     [&main] { RunHandler([&main] { main.StartContinuousSampling(); }); });
  QTimer::singleShot(seconds * 1000, &main, [&main, screenshot] {
    const bool saved = main.grab().save(screenshot, "PNG");
    std::fprintf(stderr, "%s %s\n", saved ? "Saved the main window to" : "Could not save",
                 qPrintable(screenshot));
    main.close();
  });
}

}  // namespace

int RunApplication(int argc, char** argv) {
  QApplication application(argc, argv);
  StartupMark("application");
  QApplication::setApplicationName(kApplicationTitle);
  QApplication::setApplicationDisplayName(kApplicationTitle);
  const QString screenshot = qEnvironmentVariable("RXM5620_DEMO_SCREENSHOT");
  if (!screenshot.isEmpty() || StartupExitWhenReady()) {
    // Nobody is there to answer a box during the demonstration: print it and go on.
    UseConsoleMessageBoxes();
  }
  ApplicationWindows windows = CreateApplicationWindows(QApplication::arguments());
  StartupMark("windows made");
  if (StartupExitWhenReady()) return 0;
  windows.main->show();
  if (!screenshot.isEmpty()) ScheduleDemonstration(*windows.main, screenshot);
  return QApplication::exec();
}
