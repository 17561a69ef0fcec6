#include <QApplication>

#include "app/TMainForm.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Quvex RXM5620");
  TMainForm mainForm;
  mainForm.show();
  return QApplication::exec();
}
