#include "print/TPrinterForm.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "display/MeasurementModel.h"
#include "platform/Errors.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "print/ChannelReport.h"
#include "print/ReportDocument.h"
#include "print/ReportFrame.h"
#include "print/ReportMode.h"
#include "print/TEnterInfoForm.h"

namespace {

constexpr int kSurfaceHeight = 2400;
constexpr int kGapHeight = 12;
constexpr int kPaperColumn = 10;  // pixels of one record sample column on paper

int ScreenWidth() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? std::max(1, screen->size().width()) : 1024;
}

}  // namespace

void PreviewPageBox::paintEvent(QPaintEvent*) {
  if (!surface_ || surface_->isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, *surface_);
}

TPrinterForm::TPrinterForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TPrinterForm");
  setWindowTitle("PrinterForm");
  resize(849, 627);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setAutoFillBackground(true);
  QPalette tip = Panel1->palette();
  tip.setColor(QPalette::Window, tip.color(QPalette::ToolTipBase));
  Panel1->setPalette(tip);
  SeSkinGroupBox1 = new QGroupBox(" Select page ", Panel1);
  SeSkinGroupBox1->setObjectName("SeSkinGroupBox1");
  SeSkinGroupBox1->setGeometry(2, 2, 321, 45);
  auto check = [&](const char* caption, const char* name, int left, int width) {
    auto* box = new QCheckBox(caption, SeSkinGroupBox1);
    box->setObjectName(name);
    box->setGeometry(left, 18, width, 20);
    box->setChecked(true);
    return box;
  };
  SeSkinCheckBox1 = check("CH1", "SeSkinCheckBox1", 8, 50);
  SeSkinCheckBox2 = check("CH2", "SeSkinCheckBox2", 62, 50);
  SeSkinCheckBox3 = check("CH3", "SeSkinCheckBox3", 116, 50);
  SeSkinCheckBox4 = check("Three-phase Analysis", "SeSkinCheckBox4", 170, 148);
  SeSkinButton1 = new QPushButton("Print      ", Panel1);
  SeSkinButton1->setObjectName("SeSkinButton1");
  SeSkinButton3 = new QPushButton("Printer Setup", Panel1);
  SeSkinButton3->setObjectName("SeSkinButton3");
  SeSkinButton2 = new QPushButton("Input information", Panel1);
  SeSkinButton2->setObjectName("SeSkinButton2");
  SavePdfButton = new QPushButton(QString::fromUtf8("Save PDF…"), Panel1);
  SavePdfButton->setObjectName("SavePdfButton");

  Rongqi = new QScrollArea(this);
  Rongqi->setObjectName("Rongqi");
  Rongqi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Rongqi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Rongqi->setBackgroundRole(QPalette::Dark);
  QPalette gray = Rongqi->palette();
  gray.setColor(QPalette::Dark, QColor(160, 160, 164));
  Rongqi->setPalette(gray);
  Rongqi->setCursor(Qt::SizeAllCursor);
  pages_ = new QWidget;
  pages_->setAutoFillBackground(false);
  Rongqi->setWidget(pages_);
  auto page = [&](const char* name, int surface) {
    auto* box = new PreviewPageBox(&surfaces_[surface], pages_);
    box->setObjectName(name);
    return box;
  };
  auto gap = [&](const char* name) {
    auto* box = new QWidget(pages_);
    box->setObjectName(name);
    box->setFixedHeight(kGapHeight);
    return box;
  };
  Ch1PrinterPreview = page("Ch1PrinterPreview", 0);
  image_di = gap("image_di");
  Ch2PrinterPreview = page("Ch2PrinterPreview", 1);
  image_di2 = gap("image_di2");
  Ch3PrinterPreview = page("Ch3PrinterPreview", 2);
  image_di3 = gap("image_di3");
  QualityPrinterPreview = page("QualityPrinterPreview", 3);
  image_di4 = gap("image_di4");

  ConnectHandler(SeSkinButton1, &QPushButton::clicked, this, [this] { SeSkinButton1Click(); });
  ConnectHandler(SeSkinButton2, &QPushButton::clicked, this, [this] { SeSkinButton2Click(); });
  ConnectHandler(SeSkinButton3, &QPushButton::clicked, this, [this] { SeSkinButton3Click(); });
  ConnectHandler(SavePdfButton, &QPushButton::clicked, this, [this] { SavePdfClick(); });
  printer_.setPageSize(QPageSize(QPageSize::A4));
  // The preview is laid out and drawn when the window is first shown, not at start-up:
  // its surfaces take tens of megabytes and the pages a while to draw.
}

void TPrinterForm::SetEnterInfoForm(TEnterInfoForm* form) {
  enterInfo_ = form;
  if (form) form->onEntered = [this] { Rongqi->verticalScrollBar()->setValue(0); };
}

void TPrinterForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunHandler([this] { LayoutPreview(); });
}

void TPrinterForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (isVisible()) RunHandler([this] { LayoutPreview(); });
}

void TPrinterForm::LayoutPreview() {
  // The panel and the scroll box follow the window.
  Panel1->setGeometry(0, 0, width(), 49);
  const int right = width() - 6;
  SeSkinButton1->setGeometry(right - 112, 12, 112, 25);
  SeSkinButton3->setGeometry(right - 112 - 4 - 89, 12, 89, 25);
  SeSkinButton2->setGeometry(right - 112 - 4 - 89 - 4 - 103, 12, 103, 25);
  SavePdfButton->setGeometry(right - 112 - 4 - 89 - 4 - 103 - 4 - 89, 12, 89, 25);
  Rongqi->setGeometry(0, 49, width(), std::max(0, height() - 49));

  const int screenWidth = ScreenWidth();
  for (QImage& surface : surfaces_) {
    if (surface.isNull()) {
      surface = QImage(screenWidth, kSurfaceHeight, QImage::Format_RGB32);
      surface.fill(Qt::white);
    }
  }
  Rongqi->verticalScrollBar()->setValue(0);

  const int pw = std::max(1, Rongqi->width() - 33);
  const int ph = Trunc(pw * 1.414);
  Ch1PrinterPreview->setGeometry(5, 5, pw, ph);
  image_di->setGeometry(5, ph, pw, kGapHeight);
  Ch2PrinterPreview->setGeometry(5, image_di->y() + image_di->height(), pw, ph);
  image_di2->setGeometry(5, Ch2PrinterPreview->geometry().bottom() + 1, pw, kGapHeight);
  Ch3PrinterPreview->setGeometry(5, image_di2->geometry().bottom() + 1, pw, ph);
  image_di3->setGeometry(5, Ch3PrinterPreview->geometry().bottom() + 1, pw, kGapHeight);
  QualityPrinterPreview->setGeometry(5, image_di3->geometry().bottom() + 1, pw, ph);
  image_di4->setGeometry(5, QualityPrinterPreview->geometry().bottom() + 1, pw, kGapHeight);

  const bool measurement = ReportMode == kMeasurementReport;
  for (QWidget* w :
       std::initializer_list<QWidget*>{Ch2PrinterPreview, image_di2, Ch3PrinterPreview, image_di3,
                                       QualityPrinterPreview, image_di4, SeSkinGroupBox1})
    w->setVisible(measurement);
  Ch1PrinterPreview->SetSurface(measurement ? &surfaces_[0] : &surfaces_[4]);
  if (measurement) {
    pages_->resize(pw + 10, image_di4->geometry().bottom() + 1);
  } else if (ReportMode == kRecordReport) {
    Ch1PrinterPreview->setGeometry(5, 5, pw, Trunc(pw / 1.414));
    image_di->setGeometry(5, Trunc(pw / 1.414), pw, kGapHeight);
    pages_->resize(pw + 10, image_di->geometry().bottom() + 1);
  }
  DrawPreviewPages(pw, ph);
  pages_->update();
}

void TPrinterForm::DrawPreviewPages(int pw, int ph) {
  if (ReportMode == kMeasurementReport) {
    for (int i = 0; i < 4; ++i) surfaces_[i].fill(Qt::white);
    MeasurementReport report;
    report.Record = &MeasurementData;
    if (vectorChoice) report.Vectors = vectorChoice();
    report.Info = ReadPrintInfo();
    for (int number = 1; number <= 4; ++number) {
      QPainter painter(&surfaces_[number - 1]);
      DrawReportPage(painter, pw, ph, report, number);
    }
  } else if (ReportMode == kRecordReport) {
    surfaces_[4].fill(Qt::white);
    RecordChartState* state = recordChart ? recordChart() : nullptr;
    if (!state || !recordReport) return;
    const PrintInfo info = ReadPrintInfo();
    QPainter painter(&surfaces_[4]);
    DrawRecordReport(painter, pw, Trunc(pw / 1.414), 1, *state, recordReport(), info);
  }
}

std::vector<int> TPrinterForm::CheckedPages() const {
  std::vector<int> pages;
  const QCheckBox* boxes[4] = {SeSkinCheckBox1, SeSkinCheckBox2, SeSkinCheckBox3, SeSkinCheckBox4};
  for (int i = 0; i < 4; ++i)
    if (boxes[i]->isChecked()) pages.push_back(i + 1);
  return pages;
}

TPrinterForm::Document TPrinterForm::CurrentDocument(const PrintInfo& info) const {
  Document document;
  if (ReportMode == kMeasurementReport) {
    MeasurementReport report;
    report.Record = &MeasurementData;
    report.Pages = CheckedPages();
    if (report.Pages.empty()) return document;
    if (vectorChoice) report.Vectors = vectorChoice();
    report.Info = info;
    document.Title = info.ProjectName + "TestReport";
    document.Draw = [report](QPainter& painter, QPagedPaintDevice& device) {
      DrawReportPages(painter, device, report);
    };
  } else if (ReportMode == kRecordReport) {
    RecordChartState* state = recordChart ? recordChart() : nullptr;
    if (!state || !recordReport) return document;
    document.Title = "RecordReport";
    document.Orientation = QPageLayout::Landscape;
    document.Draw = [state, data = recordReport(), info](QPainter& painter,
                                                         QPagedPaintDevice& device) {
      DrawRecordReport(painter, device.width(), device.height(), kPaperColumn, *state, data, info);
    };
  }
  return document;
}

void TPrinterForm::PrintTo(QPrinter& printer) {
  // Everything that can fail before the first page is read first, so that a failure never
  // leaves a job begun.
  const Document document = CurrentDocument(ReadPrintInfo());
  if (!document.Draw) return;
  printer.setDocName(document.Title);
  QPainter painter;
  if (!painter.begin(&printer)) throw AppError("The printer cannot start the job.");
  try {
    document.Draw(painter, printer);
  } catch (...) {
    printer.abort();
    painter.end();
    throw;
  }
  if (!painter.end()) throw AppError("The print job could not be completed.");
}

void TPrinterForm::SavePdfTo(const QString& path) {
  const Document document = CurrentDocument(ReadPrintInfo());
  if (!document.Draw) {
    if (ReportMode == kMeasurementReport) ShowMessage("Select at least one page.");
    return;
  }
  SavePdf(path, document.Title, document.Orientation, document.Draw);
}

void TPrinterForm::SeSkinButton1Click() {
  if (ReportMode == kMeasurementReport && CheckedPages().empty()) return;
  QPrintDialog dialog(&printer_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintTo(printer_);
}

void TPrinterForm::SeSkinButton2Click() {
  if (enterInfo_) enterInfo_->show();
}

void TPrinterForm::SeSkinButton3Click() {
  QPageSetupDialog dialog(&printer_, this);
  dialog.exec();
}

void TPrinterForm::SavePdfClick() {
  FileDialog save(FileDialog::Save);
  save.FileName = ReportMode == kRecordReport ? "RecordReport.pdf" : "TestReport.pdf";
  save.Filter = "PDF File(.pdf)|*.pdf";
  if (!save.Execute(this)) return;
  SavePdfTo(save.FileName);
}
