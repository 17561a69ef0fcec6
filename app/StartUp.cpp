#include "app/StartUp.h"

#include <QApplication>

#include "app/TLogoForm.h"
#include "app/TVForm.h"
#include "app/Tskin.h"
#include "config/TAlarmForm.h"
#include "config/TCalibrateForm.h"
#include "config/TInputNetSet.h"
#include "link/TCommForm.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "print/TEnterInfoForm.h"
#include "print/TPrinterForm.h"
#include "record/TRecSetForm.h"
#include "record/TRecordForm.h"

ApplicationWindows CreateApplicationWindows(const QStringList& arguments) {
  auto splash = std::make_unique<TLogoForm>();
  splash->show();
  splash->repaint();
  QApplication::processEvents();

  ApplicationWindows windows;
  windows.main = std::make_unique<TMainForm>();
  TMainForm* main = windows.main.get();
  RunHandler([&] { main->FormCreate(arguments); });

  TMainForm::Windows& w = windows.others;
  w.skin = new Tskin(main);
  RunHandler([&] { w.skin->FormCreate(); });
  w.version = new TVForm(main);
  main->SetWindows(w);
  w.comm = new TCommForm(*main->Comm1, *main, main);
  main->SetWindows(w);
  RunHandler([&] { w.comm->FormCreate(); });
  w.printer = new TPrinterForm(main);
  w.enterInfo = new TEnterInfoForm(main);
  w.record = new TRecordForm(main);
  w.recSet = new TRecSetForm(main);
  w.calibrate = new TCalibrateForm(main);
  w.alarm = new TAlarmForm(main);
  w.inputNetSet = new TInputNetSet(main);
  main->SetWindows(w);
  return windows;
}

int RunApplication(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  QApplication::setApplicationDisplayName(kApplicationTitle);
  ApplicationWindows windows = CreateApplicationWindows(QApplication::arguments());
  windows.main->show();
  return QApplication::exec();
}
