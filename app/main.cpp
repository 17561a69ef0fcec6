#include "app/StartUp.h"
#include "platform/StartupTrace.h"

int main(int argc, char** argv) {
  StartupMark("main");
  return RunApplication(argc, argv);
}
