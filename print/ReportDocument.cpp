#include "print/ReportDocument.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>
#include <filesystem>

#include "platform/Errors.h"
#include "print/ChannelReport.h"

void DrawReportPage(QPainter& painter, int W, int H, const MeasurementReport& report, int number) {
  if (number >= 1 && number <= 3) {
    DrawChannelReport(painter, W, H, report.Record->Set.Channel[number - 1], number, report.Info);
  } else if (number == kThreePhaseReportPage) {
    DrawThreePhaseReport(painter, W, H, *report.Record, kThreePhaseReportPage, report.Vectors,
                         report.Info);
  }
}

void DrawReportPages(QPainter& painter, QPagedPaintDevice& device,
                     const MeasurementReport& report) {
  bool first = true;
  for (int number : report.Pages) {
    if (!first) device.newPage();
    first = false;
    DrawReportPage(painter, device.width(), device.height(), report, number);
  }
}

void SaveReportPdf(const QString& path, const MeasurementReport& report, const QString& title) {
  SavePdf(path, title, QPageLayout::Portrait, [&](QPainter& painter, QPagedPaintDevice& device) {
    DrawReportPages(painter, device, report);
  });
}

void SavePdf(const QString& path, const QString& title, QPageLayout::Orientation orientation,
             const PageDrawing& draw) {
  const QFileInfo target(path);
  QTemporaryFile temporary(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
  if (!temporary.open())
    throw AppError(QString("Cannot write \"%1\": %2").arg(path, temporary.errorString()));
  temporary.close();  // the PDF writer opens it again by name
  {
    QPdfWriter writer(temporary.fileName());
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(title);
    writer.setCreator("RXM5620");
    QPainter painter;
    if (!painter.begin(&writer))
      throw AppError(QString("Cannot write \"%1\": the PDF cannot be started").arg(path));
    try {
      draw(painter, writer);
    } catch (...) {
      painter.end();
      throw;  // the temporary file goes with `temporary`
    }
    if (!painter.end())
      throw AppError(QString("Cannot write \"%1\": the PDF was not completed").arg(path));
  }
  if (QFileInfo(temporary.fileName()).size() == 0)
    throw AppError(QString("Cannot write \"%1\": nothing was written").arg(path));
  // A report is for sharing: readable by all, as a newly created file would be.
  temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                           QFileDevice::ReadGroup | QFileDevice::ReadOther);
  std::error_code error;
  std::filesystem::rename(temporary.fileName().toStdString(), path.toStdString(), error);
  if (error)
    throw AppError(
        QString("Cannot write \"%1\": %2").arg(path, QString::fromStdString(error.message())));
  temporary.setAutoRemove(false);  // it is the target now
}
