// The print preview and the print information window: layout, printing through Qt's
// printer into a real PDF, and the information file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>

#include "display/MeasurementModel.h"
#include "files/MeasurementFile.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "print/PrintInfo.h"
#include "print/ReportMode.h"
#include "print/TEnterInfoForm.h"
#include "print/TPrinterForm.h"

namespace {

class PrintWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("RXM5620_CONFIG_DIR", dir.path().toUtf8());
    previous = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
    ReadMeasurementFile(QStringLiteral(RXM_FIXTURES_DIR "/known-reading.qvm"), MeasurementData);
    ReportMode = kMeasurementReport;
  }
  void TearDown() override {
    SetMessageBoxHandler(previous);
    qunsetenv("RXM5620_CONFIG_DIR");
    ReportMode = kMeasurementReport;
  }
  static QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  static int PageCount(const QString& pdf) {
    const QString info = Run("pdfinfo", {pdf});
    const qsizetype at = info.indexOf("Pages:");
    return at < 0 ? -1 : info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
  }

  QTemporaryDir dir;
  QStringList boxes;
  MessageBoxHandler previous;
};

TEST_F(PrintWindows, PagesStandOneBelowTheOtherAtTheWidthOfTheScrollBox) {
  TPrinterForm form;
  form.resize(833, 627);  // the scroll box fills the width: 833 pixels
  form.LayoutPreview();
  EXPECT_EQ(form.Rongqi->width(), 833);
  EXPECT_EQ(form.Ch1PrinterPreview->geometry(), QRect(5, 5, 800, 1131));
  EXPECT_EQ(form.Ch2PrinterPreview->y(), 1143);
  EXPECT_EQ(form.Ch3PrinterPreview->y(), 2286);
  EXPECT_EQ(form.QualityPrinterPreview->y(), 3429);
  EXPECT_TRUE(form.SeSkinGroupBox1->isVisibleTo(&form));
  // The pages are drawn: the title's ink on the channel 1 and three-phase surfaces.
  for (int s : {0, 3}) {
    int ink = 0;
    for (int y = 20; y < 50; ++y)
      for (int x = 40; x < 200; ++x) ink += form.Surface(s).pixelColor(x, y).lightness() < 128;
    EXPECT_GT(ink, 20) << s;
  }

  ReportMode = kRecordReport;
  form.LayoutPreview();
  EXPECT_EQ(form.Ch1PrinterPreview->geometry(), QRect(5, 5, 800, 565));
  EXPECT_FALSE(form.Ch2PrinterPreview->isVisibleTo(&form));
  EXPECT_FALSE(form.SeSkinGroupBox1->isVisibleTo(&form));
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
}

TEST_F(PrintWindows, PrintingTheCheckedPagesGivesThatManyPages) {
  TPrinterForm form;
  form.SeSkinCheckBox1->setChecked(false);
  form.SeSkinCheckBox3->setChecked(false);
  const QString pdf = dir.filePath("printed.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  form.PrintTo(printer);
  EXPECT_EQ(PageCount(pdf), 2);
  const QString text = Run("pdftotext", {pdf, "-"});
  EXPECT_TRUE(text.contains("Channel 2 /Page 2"));
  EXPECT_TRUE(text.contains("Three-phase analysis /Page 4"));
  EXPECT_FALSE(text.contains("Channel 1 /Page 1"));
  EXPECT_EQ(printer.docName(), "2TestReport");

  // No page checked: no job, no file.
  form.SeSkinCheckBox2->setChecked(false);
  form.SeSkinCheckBox4->setChecked(false);
  const QString none = dir.filePath("none.pdf");
  printer.setOutputFileName(none);
  form.PrintTo(printer);
  EXPECT_FALSE(QFile::exists(none));
}

TEST_F(PrintWindows, APageThatCannotBeDrawnStartsNoJobAndSavesNoPdf) {
  PrintInfoFile().WriteString("PrintInfo", "units", "warm");
  TPrinterForm form;
  const QString pdf = dir.filePath("printed.pdf");
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  EXPECT_THROW(form.PrintTo(printer), EConvertError);
  EXPECT_THROW(form.SavePdfTo(dir.filePath("saved.pdf")), EConvertError);
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_FALSE(QFile::exists(dir.filePath("saved.pdf")));
}

TEST_F(PrintWindows, SavePdfWritesTheCheckedPages) {
  TPrinterForm form;
  form.SeSkinCheckBox4->setChecked(false);
  const QString pdf = dir.filePath("saved.pdf");
  form.SavePdfTo(pdf);
  EXPECT_EQ(PageCount(pdf), 3);
  EXPECT_TRUE(Run("pdftotext", {pdf, "-"}).contains("Channel 3 /Page 3"));
}

TEST_F(PrintWindows, TheInformationWindowReadsOnceAndWritesOnEnter) {
  TEnterInfoForm form;
  EXPECT_EQ(form.Edit1->text(), "2");
  EXPECT_EQ(form.Edit5->text(), "2");
  EXPECT_EQ(form.Edit4->text(),
            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
  EXPECT_TRUE(form.SeSkinRadioButton2->isChecked());  // "F" for the default 2

  bool entered = false;
  form.onEntered = [&] { entered = true; };
  form.Edit1->setText(QString::fromUtf8("  变电站 = A;[B]"));
  form.Edit3->setText("");
  form.SeSkinRadioButton1->setChecked(true);
  form.SeSkinButton1->click();
  EXPECT_TRUE(entered);
  const PrintInfo info = ReadPrintInfo();
  EXPECT_EQ(info.ProjectName, QString::fromUtf8("  变电站 = A;[B]"));
  EXPECT_EQ(info.Tester, "");  // empty, not the default
  EXPECT_EQ(info.UnitText, QString::fromUtf8("℃"));
  EXPECT_EQ(PrintInfoFile().ReadString("PrintInfo", "units"), "1");

  // Cancel writes nothing but keeps what was typed.
  form.Edit2->setText("typed");
  form.SeSkinButton2->click();
  EXPECT_EQ(ReadPrintInfo().Company, "2");
  EXPECT_EQ(form.Edit2->text(), "typed");
  form.SeSkinRadioButton2->setChecked(true);
  form.SeSkinButton1->click();
  EXPECT_EQ(PrintInfoFile().ReadString("PrintInfo", "units"), "0");
  EXPECT_EQ(ReadPrintInfo().UnitText, "F ");

  TEnterInfoForm again;  // a new run reads what was entered
  EXPECT_EQ(again.Edit1->text(), QString::fromUtf8("  变电站 = A;[B]"));
  EXPECT_TRUE(again.SeSkinRadioButton2->isChecked());
}

}  // namespace
