#pragma once
// "PrinterForm": the print preview. It shows the pages of the measurement report (the
// three channel pages and the three-phase page) or the record report, scaled to its
// width, one below the other, and prints the chosen pages or saves them as a PDF.

#include <QDialog>
#include <QImage>
#include <QPrinter>
#include <array>
#include <functional>

#include "print/RecordReport.h"
#include "print/ReportDocument.h"
#include "print/ThreePhaseReport.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QScrollArea;
class TEnterInfoForm;

// A page box of the preview: shows the top-left part of its surface.
class PreviewPageBox : public QWidget {
 public:
  PreviewPageBox(const QImage* surface, QWidget* parent) : QWidget(parent), surface_(surface) {}
  void SetSurface(const QImage* surface) { surface_ = surface; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* surface_;
};

class TPrinterForm : public QDialog {
  Q_OBJECT
 public:
  explicit TPrinterForm(QWidget* parent = nullptr);

  // What the other windows supply, wired by the main window: the vectors the three-phase
  // page shows, the record window's chart for the record report, the information window.
  std::function<VectorChoice()> vectorChoice;
  std::function<RecordChartState*()> recordChart;
  std::function<RecordReportData()> recordReport;
  void SetEnterInfoForm(TEnterInfoForm* form);

  // Lays out the page boxes for the width of the scroll box and redraws the preview.
  void LayoutPreview();
  // Prints the checked pages (or the record page) on `printer`. No page checked starts no
  // job; a page that cannot be drawn aborts the job and the error is shown once.
  void PrintTo(QPrinter& printer);
  // Writes the same pages to a PDF file; nothing is left behind on failure.
  void SavePdfTo(const QString& path);

  void SeSkinButton1Click();  // Print
  void SeSkinButton2Click();  // Input information
  void SeSkinButton3Click();  // Printer Setup
  void SavePdfClick();        // Save PDF…

  QFrame* Panel1;
  QGroupBox* SeSkinGroupBox1;
  QCheckBox* SeSkinCheckBox1;  // CH1
  QCheckBox* SeSkinCheckBox2;  // CH2
  QCheckBox* SeSkinCheckBox3;  // CH3
  QCheckBox* SeSkinCheckBox4;  // Three-phase Analysis
  QPushButton* SeSkinButton1;  // Print
  QPushButton* SeSkinButton3;  // Printer Setup
  QPushButton* SeSkinButton2;  // Input information
  QPushButton* SavePdfButton;  // Save PDF…
  QScrollArea* Rongqi;
  PreviewPageBox* Ch1PrinterPreview;
  QWidget* image_di;
  PreviewPageBox* Ch2PrinterPreview;
  QWidget* image_di2;
  PreviewPageBox* Ch3PrinterPreview;
  QWidget* image_di3;
  PreviewPageBox* QualityPrinterPreview;
  QWidget* image_di4;

  // The off-screen surfaces: channels 1 to 3, the three-phase page, the record page.
  const QImage& Surface(int index) const { return surfaces_[index]; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // What Print and Save PDF write now: nothing to draw when no page is chosen (or the
  // record report has no record window).
  struct Document {
    QString Title;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    PageDrawing Draw;
  };
  Document CurrentDocument(const PrintInfo& info) const;
  std::vector<int> CheckedPages() const;
  void DrawPreviewPages(int pw, int ph);

  std::array<QImage, 5> surfaces_;
  QPrinter printer_;
  TEnterInfoForm* enterInfo_ = nullptr;
  QWidget* pages_ = nullptr;  // the scroll box's content
};
