#pragma once
// A measurement report as a document: the chosen pages one after the other on a printer
// or a PDF, drawn by the page routines at the device's page size. Shared by the print
// preview and the batch tool.

#include <QPageLayout>
#include <QString>
#include <functional>
#include <vector>

#include "display/MeasurementModel.h"
#include "print/PrintInfo.h"
#include "print/ThreePhaseReport.h"

class QPagedPaintDevice;
class QPainter;

// Page numbers 1 to 3 are the channel pages, 4 the three-phase page.
inline constexpr int kThreePhaseReportPage = 4;

struct MeasurementReport {
  const MeasurementRecord* Record = nullptr;
  std::vector<int> Pages = {1, 2, 3, 4};
  VectorChoice Vectors = kAllVectors;
  PrintInfo Info;
};

// Draws page `number` of the report at W × H device pixels.
void DrawReportPage(QPainter& painter, int W, int H, const MeasurementReport& report, int number);

// Draws every page of `report` with `painter`, already begun on `device`, a new page
// before each but the first.
void DrawReportPages(QPainter& painter, QPagedPaintDevice& device, const MeasurementReport& report);

// Draws a document's pages with `painter`, begun on `device`.
using PageDrawing = std::function<void(QPainter& painter, QPagedPaintDevice& device)>;

// Writes an A4 PDF at 600 dpi, titled `title`, of what `draw` draws. The file is written
// beside `path` under a temporary name and takes its place only when complete; on any
// failure, a page routine's included, no file is left and AppError says why.
void SavePdf(const QString& path, const QString& title, QPageLayout::Orientation orientation,
             const PageDrawing& draw);
// The measurement report as a portrait PDF.
void SaveReportPdf(const QString& path, const MeasurementReport& report, const QString& title);
