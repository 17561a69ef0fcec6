// A long run of the whole application against the simulated instrument: continuous
// sampling over USB with a few link faults, and a trend recording saved every 10 s. Every
// minute it prints the resident memory, the samples taken and the record file's size; at
// the end the memory at the start and the end. Not a test of CI: scripts/soak.sh runs it.
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "app/StartUp.h"
#include "app/TMainForm.h"
#include "link/LinkState.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "record/RecordState.h"
#include "record/TRecordForm.h"

namespace {

long ResidentKiB() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  qputenv("RXM5620_SYSTEM_PORTS", "0");
  QApplication application(argc, argv);
  const int seconds = argc > 1 ? QString(argv[1]).toInt() : 3600;
  QTemporaryDir dir;
  qputenv("RXM5620_CONFIG_DIR", dir.path().toLocal8Bit());
  qputenv("RXM5620_PORT_DIR", dir.path().toLocal8Bit());
  QFile settings(dir.filePath("SysSet.ini"));
  if (!settings.open(QIODevice::WriteOnly)) return 1;
  settings.write(
      "[CommPort]\nPort=7\n[RecordSet]\nCh0=0\nCh1=15\nCh2=29\nCh3=3\nCh4=99\nCh5=102\n");
  settings.close();

  QProcess sim;
  sim.setProgram(QCoreApplication::applicationDirPath() + "/rxm5620-sim");
  sim.setArguments({"--link", dir.filePath("COM7"), "--usb", "--seed", "5", "--faults",
                    "drop=97,crc=89,truncate=83,nan=VoltageTrms@2/13"});
  sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim.start();
  for (int i = 0; i < 100 && !QFile::exists(dir.filePath("COM7")); ++i) {
    QThread::msleep(100);
  }
  int boxes = 0;
  SetMessageBoxHandler([&boxes](const MessageBoxRequest& request) {
    ++boxes;
    std::fprintf(stderr, "[%s] %s\n", qPrintable(request.caption), qPrintable(request.text));
    return QMessageBox::Ok;
  });
  const QString recordFile = dir.filePath("soak.qvr");
  FileDialog::SetHandler([&recordFile](const FileDialog&) { return recordFile; });

  ApplicationWindows windows = CreateApplicationWindows({"rxm5620"});
  TMainForm& main = *windows.main;
  TRecordForm& record = *windows.others.record;
  main.StartContinuousSampling();
  QTimer::singleShot(3000, [&] {
    record.NewClick();
    record.SetStepInterval(1000, "Step: 1S");
    record.SetSaveInterval(10000, "Save time: 10S");
    record.StartClick();
  });
  long startKiB = -1;
  QTimer report;
  report.setInterval(60000);
  auto line = [&](const char* when) {
    const long kib = ResidentKiB();
    std::printf("%s %s: resident %ld KiB, samples %d, record file %lld bytes, boxes %d\n",
                qPrintable(QDateTime::currentDateTime().toString("HH:mm:ss")), when, kib,
                Recording.SampleCount, QFileInfo(recordFile).size(), boxes);
    std::fflush(stdout);
    return kib;
  };
  QTimer::singleShot(10000, [&] { startKiB = line("start"); });
  QObject::connect(&report, &QTimer::timeout, [&] { line("running"); });
  report.start();
  QTimer::singleShot(seconds * 1000, [&] {
    record.StopClick();
    const long endKiB = line("end");
    std::printf("resident memory: %ld KiB after 10 s, %ld KiB at the end (%+.1f %%)\n", startKiB,
                endKiB, startKiB > 0 ? 100.0 * (endKiB - startKiB) / startKiB : 0.0);
    main.close();
    QCoreApplication::quit();
  });
  const int code = QApplication::exec();
  sim.terminate();
  sim.waitForFinished(5000);
  return code;
}
