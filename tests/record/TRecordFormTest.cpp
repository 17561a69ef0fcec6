#include "record/TRecordForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "link/LinkState.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "record/TRecSetForm.h"

namespace {

RecordState& SharedState() {
  static RecordState state;
  return state;
}

class RecordWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("RXM5620_CONFIG_DIR", configDir.path().toLocal8Bit());
    previousBox_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return answer;
    });
    previousDialog_ = FileDialog::SetHandler([this](const FileDialog&) { return chosen; });
    ResetLinkState();
    state.Allocate();
    ResetRecordState(state);
    std::memset(&MeasurementData, 0, sizeof MeasurementData);
  }
  void TearDown() override {
    FileDialog::SetHandler(previousDialog_);
    SetMessageBoxHandler(previousBox_);
    ResetLinkState();
    qunsetenv("RXM5620_CONFIG_DIR");
  }
  void Settings(const QByteArray& text) {
    QFile file(configDir.filePath("SysSet.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  std::unique_ptr<TRecordForm> Window() {
    auto form = std::make_unique<TRecordForm>(nullptr, state);
    form->FormCreate();
    form->resize(823, 634);
    form->show();
    QApplication::processEvents();
    return form;
  }
  // The count field of the file's last record and its number of records.
  std::pair<int, int> FileCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {-1, 0};
    const QByteArray bytes = file.readAll();
    const int records = static_cast<int>(bytes.size() / kRecordBlockSize);
    int32_t count = -1;
    if (records > 0) {
      std::memcpy(&count, bytes.constData() + records * kRecordBlockSize - 8, 4);
    }
    return {count, records};
  }
  void Tick(TRecordForm& form, int steps) {
    for (int i = 0; i < steps; ++i) {
      MeasurementData.Set.Channel[0].VoltageTrms = 230.0f + static_cast<float>(state.SampleCount);
      form.Timer1Timer();
    }
  }

  QTemporaryDir configDir;
  QTemporaryDir dir;
  RecordState& state = SharedState();
  QStringList boxes;
  QMessageBox::StandardButton answer = QMessageBox::Yes;
  QString chosen;

 private:
  MessageBoxHandler previousBox_;
  FileDialog::Handler previousDialog_;
};

TEST_F(RecordWindow, StartNeedsContinuousSamplingAndThenAFile) {
  auto form = Window();
  SamplingMode = kSamplingSingle;
  form->StartClick();
  SamplingMode = kSamplingContinuous;
  form->StartClick();
  EXPECT_EQ(boxes, QStringList({"To start recording the main form must be continuous test "
                                "mode, Record does not start!",
                                "Create a new record file!"}));
  EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(RecordWindow, ARecordingIsSavedAtEverySaveAndStopKeepsTheLastSave) {
  Settings("[RecordSet]\nCh0=0\nCh1=36\nSampingSetp=0\nSaveSetp=0\n");
  {
    TRecordForm unshown(nullptr, state);
    unshown.FormCreate();
    EXPECT_EQ(unshown.StatusText(0), "Step: 1S") << "until the chart's first drawing";
    EXPECT_EQ(unshown.StatusText(1), "Save time: 10S");
  }
  auto form = Window();
  EXPECT_EQ(form->StatusText(0), "Setp: 1S") << "the chart's zoom";
  EXPECT_EQ(form->Timer1->interval(), 1000);
  EXPECT_EQ(form->TimerSave->interval(), 10000);
  EXPECT_EQ(form->Names[1]->text(), "CH2 Frequency");
  chosen = dir.filePath("trend.qvr");
  form->NewClick();
  EXPECT_TRUE(form->SeSkinSpeedButton5->isEnabled());
  SamplingMode = kSamplingContinuous;
  form->StartClick();
  EXPECT_TRUE(form->Timer1->isActive());
  EXPECT_TRUE(form->TimerSave->isActive());
  EXPECT_FALSE(form->SeSkinSpeedButton4->isEnabled()) << "no settings while recording";
  Tick(*form, 5);
  form->TimerSaveTimer();
  EXPECT_EQ(FileCount(chosen), std::make_pair(5, 1));
  Tick(*form, 5);
  form->StopClick();
  EXPECT_EQ(FileCount(chosen), std::make_pair(5, 1)) << "Stop writes nothing";
  EXPECT_EQ(state.SampleCount, 10);
  EXPECT_EQ(state.Live.Values[0][9], 239.0f);
  EXPECT_EQ(form->StatusText(4), "Length: 9") << "sample 0 is never drawn";
  EXPECT_TRUE(form->SeSkinSpeedButton4->isEnabled());
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_FALSE(form->TimerSave->isActive());

  // Reopened, it has its values and the names chosen when it was created.
  Settings("[RecordSet]\nCh0=5\nCh1=6\n");
  form->OpenClick();
  EXPECT_EQ(state.OpenedLastIndex, 4);
  EXPECT_EQ(state.Opened.Values[0][4], 234.0f);
  EXPECT_EQ(form->Names[0]->text(), "CH1 Voltage trms");
  EXPECT_EQ(form->StatusText(5), "Mode:Open");
}

TEST_F(RecordWindow, LosingContinuousSamplingStopsTheSteps) {
  auto form = Window();
  chosen = dir.filePath("a.qvr");
  form->NewClick();
  SamplingMode = kSamplingContinuous;
  form->StartClick();
  Tick(*form, 2);
  SamplingMode = kSamplingIdle;
  form->Timer1Timer();
  EXPECT_EQ(boxes.last(), " You have  stop  continuous sampling, record stop!");
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_TRUE(form->TimerSave->isActive()) << "the samples taken still reach the file";
  EXPECT_EQ(state.SampleCount, 2);
}

// A New during a recording: confirmed, the recording goes on into the new file from 0;
// cancelled or refused, it goes on as it was.
TEST_F(RecordWindow, NewDuringARecording) {
  auto form = Window();
  const QString first = dir.filePath("first.qvr");
  chosen = first;
  form->NewClick();
  SamplingMode = kSamplingContinuous;
  form->StartClick();
  Tick(*form, 7);
  form->TimerSaveTimer();

  chosen.clear();  // cancelled
  form->NewClick();
  EXPECT_EQ(state.SampleCount, 7);
  EXPECT_EQ(state.RecordFileName, first);
  const QString second = dir.filePath("second.qvr");
  QFile(second).open(QIODevice::WriteOnly);
  chosen = second;
  answer = QMessageBox::No;  // "File exists": keep it
  form->NewClick();
  EXPECT_EQ(state.SampleCount, 7);
  EXPECT_EQ(QFile(second).size(), 0);

  answer = QMessageBox::Yes;
  form->NewClick();
  EXPECT_EQ(boxes.last(), "  file already exists, overwrite?  ");
  EXPECT_EQ(state.SampleCount, 0);
  EXPECT_TRUE(form->Timer1->isActive()) << "the recording goes on";
  Tick(*form, 3);
  form->TimerSaveTimer();
  EXPECT_EQ(FileCount(second), std::make_pair(3, 1));
  EXPECT_EQ(FileCount(first), std::make_pair(7, 1)) << "the old file keeps its last save";
}

TEST_F(RecordWindow, TheCapacityStopsTheRecordingWithEverySampleInTheFile) {
  auto form = Window();
  chosen = dir.filePath("full.qvr");
  form->NewClick();
  SamplingMode = kSamplingContinuous;
  form->StartClick();
  state.SampleCount = kRecordCapacity - 1;
  form->TimerSaveTimer();  // the file reaches its last record
  Tick(*form, 1);
  EXPECT_EQ(boxes.last(),
            " Recorded data has exceeded  maximum file size limit, Please start again after New "
            "File.");
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_FALSE(form->TimerSave->isActive());
  EXPECT_FALSE(form->SeSkinSpeedButton6->isEnabled());
  EXPECT_EQ(FileCount(chosen), std::make_pair(kRecordCapacity, kMaxRecords));
}

TEST_F(RecordWindow, AFailingSaveIsReportedOnceAndRetried) {
  auto form = Window();
  chosen = dir.filePath("gone.qvr");
  form->NewClick();
  QFile::remove(chosen);
  SamplingMode = kSamplingContinuous;
  form->StartClick();
  Tick(*form, 1);
  form->TimerSaveTimer();
  form->TimerSaveTimer();
  EXPECT_EQ(boxes.filter("gone.qvr").size(), 1) << boxes.join(" | ").toStdString();
  EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(RecordWindow, SettingsStepThirtyWithoutAChoice) {
  Settings("[RecordSet]\nSampingSetp=11\n");
  auto form = Window();
  TRecSetForm settings(form.get());
  settings.FormCreate();
  EXPECT_EQ(form->Timer1->interval(), 30000);
  EXPECT_EQ(settings.ComboBox2->currentIndex(), -1);
  EXPECT_EQ(settings.ChannelLists[0]->currentIndex(), 2) << "the default 2";
  settings.ChannelLists[0]->setCurrentIndex(36);
  settings.ComboBox1->setCurrentIndex(5);
  settings.EnterClick();
  const IniFile ini = SystemSettings();
  EXPECT_EQ(ini.ReadString("RecordSet", "SampingSetp"), "-1");
  EXPECT_EQ(ini.ReadString("RecordSet", "Ch0"), "36");
  EXPECT_EQ(ini.ReadString("RecordSet", "TInCommNO"), "-1");
  EXPECT_EQ(form->Timer1->interval(), 30000) << "no step chosen keeps 30 s";
  EXPECT_EQ(form->TimerSave->interval(), 60000);
  EXPECT_EQ(form->StatusText(1), QString::fromUtf8("存盘间隔时间：60秒"));
  EXPECT_EQ(state.RecordSelection[0], 36);
  EXPECT_EQ(form->Names[0]->text(), "CH2 Frequency");
}

TEST_F(RecordWindow, CancelAppliesNothing) {
  auto form = Window();
  TRecSetForm settings(form.get());
  settings.FormCreate();
  settings.ChannelLists[0]->setCurrentIndex(40);
  settings.CancelClick();
  EXPECT_EQ(state.RecordSelection[0], 2);
  EXPECT_FALSE(QFile::exists(configDir.filePath("SysSet.ini")));
}

TEST_F(RecordWindow, ANonIntegerChannelStopsTheCreationAtThatKey) {
  Settings("[RecordSet]\nCh0=volts\nSampingSetp=4\n");
  TRecordForm form(nullptr, state);
  EXPECT_THROW(form.FormCreate(), EConvertError);
  EXPECT_EQ(form.Timer1->interval(), 1000) << "the step is not read";
}

TEST_F(RecordWindow, ScalesAndPaging) {
  auto form = Window();
  chosen = dir.filePath("p.qvr");
  form->NewClick();
  for (int i = 0; i < 13; ++i) form->EnlargeClick(0);
  EXPECT_EQ(form->Chart().ChannelScale[0], 10000);
  EXPECT_FALSE(form->EnlargeButtons[0]->isEnabled());
  EXPECT_EQ(DivisionText(0, form->Chart().ChannelScale[0], 0), "CH1/DIV=0.005");

  // Backward Compression needs more samples than 95 % of the width.
  const int W = form->Pic4->width();
  state.SampleCount = static_cast<int>(std::nearbyint(0.95 * W));
  form->BackwardCompression();
  EXPECT_EQ(form->Chart().Live.Zoom, 1);
  EXPECT_FALSE(form->SeSkinSpeedButton7->isEnabled());
  state.SampleCount = 3 * W;
  form->ForwardExpansion();
  form->BackwardCompression();
  EXPECT_EQ(form->Chart().Live.Zoom, 2);
  EXPECT_EQ(form->TrackBar1->value(), 149);

  form->Chart().Live.Offset = 100;
  form->MoveLeft();
  EXPECT_EQ(form->Chart().Live.Offset, 0);
  EXPECT_TRUE(form->SeSkinSpeedButton9->isEnabled());
  form->MoveLeft();
  EXPECT_FALSE(form->SeSkinSpeedButton9->isEnabled());
  EXPECT_FALSE(form->MoveLeft1->isEnabled());
}

// The export asks only once the file is written: Yes puts it in place, No leaves no file
// and a file of that name as it was. While recording it exports the samples taken so far.
TEST_F(RecordWindow, ExportAsksBeforeItKeepsTheFile) {
  Settings("[RecordSet]\nCh0=0\n");
  auto form = Window();
  chosen = dir.filePath("live.qvr");
  form->NewClick();
  SamplingMode = kSamplingContinuous;
  form->StartClick();
  Tick(*form, 4);  // none of them saved yet

  const QString target = dir.filePath("export.csv");
  QFile old(target);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("keep me");
  old.close();
  chosen = target;
  answer = QMessageBox::No;
  boxes.clear();
  form->ExportClick();
  EXPECT_EQ(boxes, QStringList({"Data export is complete, make sure to save?"}));
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "keep me");
  old.close();

  answer = QMessageBox::Yes;
  form->ExportClick();
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = old.readAll().trimmed().split('\n');
  ASSERT_EQ(lines.size(), 5) << "the header and the four samples taken";
  EXPECT_TRUE(lines[0].startsWith("Time,CH1:")) << lines[0].toStdString();
  EXPECT_TRUE(lines[4].trimmed().endsWith(",0,0,0,0,0")) << lines[4].toStdString();
  EXPECT_TRUE(lines[4].contains(",233,")) << lines[4].toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
      << "the record file and the export, nothing else";
}

TEST_F(RecordWindow, TheRangeButtonCyclesTheModes) {
  auto form = Window();
  const char* texts[3] = {"Display: positive and negative values show",
                          "Display: Show only negative", "Display: Show only positive"};
  for (int i = 0; i < 3; ++i) {
    form->RangeButtonClick();
    EXPECT_EQ(form->Chart().RangeMode, (i + 1) % 3);
    EXPECT_EQ(form->StatusText(6), texts[i]);
  }
}

}  // namespace
