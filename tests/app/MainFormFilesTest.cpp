#include <gtest/gtest.h>

#include <QFileInfo>

#include <QDesktopServices>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <cstring>

#include "app/Pictures.h"
#include "app/TMainForm.h"
#include "display/MeasurementModel.h"
#include "platform/DataFolders.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

namespace {

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray RecordBytes() {
  return QByteArray(reinterpret_cast<const char*>(&MeasurementData), sizeof MeasurementData);
}

class MainFormFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("RXM5620_CONFIG_DIR", dir.path().toLocal8Bit());
    previousDialog_ = FileDialog::SetHandler([this](const FileDialog& d) {
      dialogs << d.FileName + "|" + d.Filter;
      return answer;
    });
    previousBox_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      questions << r.caption + "|" + r.text;
      return reply;
    });
    InitMeasurementRecord(MeasurementData);
  }
  void TearDown() override {
    FileDialog::SetHandler(previousDialog_);
    SetMessageBoxHandler(previousBox_);
    qunsetenv("RXM5620_CONFIG_DIR");
  }

  QTemporaryDir dir;
  TMainForm form;
  QString answer;
  QMessageBox::StandardButton reply = QMessageBox::Yes;
  QStringList dialogs;
  QStringList questions;

 private:
  FileDialog::Handler previousDialog_;
  MessageBoxHandler previousBox_;
};

TEST_F(MainFormFiles, SaveThenOpenRestoresTheReading) {
  MeasurementData.Set.Channel[1].VoltageTrms = 231.5f;
  std::memcpy(MeasurementData.DateTimeText, "2026-12-10 10:00:00", 19);
  const QByteArray saved = RecordBytes();
  answer = dir.filePath("reading");  // typed without extension: used as typed
  form.SeSkinSpeedButton2->click();
  EXPECT_EQ(dialogs, QStringList{"TestFile.qvm|Quvex measurement file(.qvm)|*.qvm"});
  EXPECT_EQ(Read(answer), saved);
  EXPECT_TRUE(questions.isEmpty()) << "a new file needs no question";

  InitMeasurementRecord(MeasurementData);
  form.SeSkinSpeedButton1->click();
  EXPECT_EQ(dialogs.last(), "|Quvex measurement file(.qvm)|*.qvm|AllFile|*.*");
  EXPECT_EQ(RecordBytes(), saved);
  EXPECT_EQ(form.SaveDialog1.FileName, answer) << "the dialog offers the last name again";
}

TEST_F(MainFormFiles, AnsweringNoToFileExistsLeavesTheFileUntouched) {
  const QString path = dir.filePath("old.qvm");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("older content");
  file.close();
  answer = path;
  reply = QMessageBox::No;
  form.Save1->trigger();
  EXPECT_EQ(questions, QStringList{"File exists|The file already exists, overwrite?"});
  EXPECT_EQ(Read(path), "older content");
  reply = QMessageBox::Yes;
  form.Save1->trigger();
  EXPECT_EQ(Read(path), RecordBytes());
}

TEST_F(MainFormFiles, CancelledDialogsDoNothingAndAShortFileIsRefused) {
  answer.clear();
  form.Open1->trigger();
  form.Save1->trigger();
  EXPECT_TRUE(questions.isEmpty());

  answer = dir.filePath("short.qvm");
  QFile file(answer);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(8385, 'x'));
  file.close();
  const QByteArray before = RecordBytes();
  reply = QMessageBox::Ok;
  form.Open1->trigger();
  ASSERT_EQ(questions.size(), 1);
  EXPECT_TRUE(questions[0].startsWith("Quvex RXM5620|Read beyond end of file"));
  EXPECT_EQ(RecordBytes(), before);
}

class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QStringList urls;
 public slots:
  void Open(const QUrl& url) { urls << url.toString(); }
};

TEST_F(MainFormFiles, HelpEntriesGoToTheDesktopsOpenAction) {
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler("https", &recorder, "Open");
  QDesktopServices::setUrlHandler("file", &recorder, "Open");
  form.Website1->trigger();
  form.Manual1->trigger();
  QDesktopServices::unsetUrlHandler("https");
  QDesktopServices::unsetUrlHandler("file");
  // The handbook the build made, in the data folder.
  ASSERT_TRUE(QFileInfo::exists(DataFile("Handbook.pdf")));
  EXPECT_EQ(recorder.urls,
            (QStringList{kMakerWebsite, QUrl::fromLocalFile(DataFile("Handbook.pdf")).toString()}));
}

TEST_F(MainFormFiles, MenusAndButtonsStartAsTheyShould) {
  EXPECT_EQ(form.windowTitle(), "QUVEX Technologies,Inc.");
  EXPECT_FALSE(form.SeSkinSpeedButton7->isEnabled());
  EXPECT_FALSE(form.SeSkinButton4->isEnabled());
  EXPECT_FALSE(form.SeSkinSpeedButton9->isEnabled());
  EXPECT_FALSE(form.N14->isEnabled());
  EXPECT_TRUE(form.N12->isEnabled());
  EXPECT_TRUE(form.N13->isEnabled());
  EXPECT_FALSE(form.N10->isVisible());
  EXPECT_FALSE(form.N9->isVisible());
  EXPECT_EQ(form.N10->text(), "校准 ");
  EXPECT_EQ(form.PageControl1->count(), 5);
  EXPECT_EQ(form.PageControl1->tabText(3), "Three-phase Analysis");
  EXPECT_EQ(form.PageControl1->tabPosition(), QTabWidget::South);
  EXPECT_EQ(form.StatusBar->PanelText(0), "连接：正在连接");
  EXPECT_EQ(form.StatusBar->PanelText(3), "Communication");
  EXPECT_EQ(form.StatusBar->ProgressBar1->maximum(), 50);
  EXPECT_EQ(form.SeSkinSpeedButton7->toolTip(), "Single Sampling ");
}

}  // namespace

#include "MainFormFilesTest.moc"
