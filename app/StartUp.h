#pragma once
// Start-up of the program: the splash window while every window is created once, in a
// fixed order; then the main window.

#include <QStringList>
#include <memory>

#include "app/TMainForm.h"

// Every window of the program; they live until the program ends.
struct ApplicationWindows {
  std::unique_ptr<TMainForm> main;
  TMainForm::Windows others;  // owned by the main window (children)
};

// Creates the windows in their order, running each creation handler, with the splash
// window shown meanwhile. `arguments` is the command line as the system gives it.
ApplicationWindows CreateApplicationWindows(const QStringList& arguments);

// The whole program: creates the windows, shows the main window, runs the event loop.
int RunApplication(int argc, char** argv);
