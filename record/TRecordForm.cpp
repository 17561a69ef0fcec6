#include "record/TRecordForm.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressDialog>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "display/DateTimeText.h"
#include "display/PlotDrawing.h"
#include "display/PlotImages.h"
#include "display/ValueFormat.h"
#include "link/LinkState.h"
#include "platform/CommandLine.h"
#include "platform/DataFolders.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/SettingsKeys.h"
#include "record/RecordParameters.h"
#include "record/SpreadsheetExport.h"
#include "record/TRecSetForm.h"

namespace {

constexpr int kBitmapWidth = 2400;
constexpr int kBitmapHeight = 1600;
constexpr int kMarkerStripWidth = 25;
constexpr int kScaleStripWidth = 50;
constexpr int kScrollBarHeight = 17;
constexpr int kPointGroupHeight = 150;

const char* const kMarkerFiles[kRecordChannels] = {"green",  "red",    "blue",
                                                   "maroon", "yellow", "red2"};
const char* const kTagTexts[kRecordChannels] = {"ReA", "ReB", "ReC", "ReD", "ReE", "ReF"};
const char* const kDesignNames[kRecordChannels] = {"电压 ",   "电流  ",  "功率  ",
                                                   "温度1  ", "温度2  ", "温度3  "};
// Enlarge, reduce and show/hide buttons of channels A to F.
const char* const kScaleButtonNames[kRecordChannels][3] = {
    {"SeSkinButton3", "SeSkinButton2", "SeSkinButton1"},
    {"SeSkinButton4", "SeSkinButton5", "SeSkinButton6"},
    {"SeSkinButton7", "SeSkinButton8", "SeSkinButton9"},
    {"SeSkinButton10", "SeSkinButton11", "SeSkinButton12"},
    {"SeSkinButton13", "SeSkinButton14", "SeSkinButton15"},
    {"SeSkinButton16", "SeSkinButton17", "SeSkinButton18"}};
const char* const kRangeTexts[3] = {"Display: Show only positive",
                                    "Display: positive and negative values show",
                                    "Display: Show only negative"};

// A paint box that shows an image and reports the mouse to the window.
class ImageBox : public QWidget {
 public:
  ImageBox(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image_, QRect(0, 0, width(), height()));
  }

 private:
  const QImage& image_;
};

QToolButton* ToolButton(QWidget* bar, const char* name, const QString& text, int& x) {
  auto* button = new QToolButton(bar);
  button->setObjectName(name);
  button->setText(text);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setGeometry(x, 2, 47, 43);
  x += 47;
  return button;
}

}  // namespace

TRecordForm::TRecordForm(QWidget* parent, RecordState& state) : QDialog(parent), state_(state) {
  setObjectName("TRecordForm");
  setWindowTitle("Record");
  resize(823, 634);
  chartImage_ = QImage(kBitmapWidth, kBitmapHeight, QImage::Format_RGB32);
  stripImage_ = QImage(kScaleStripWidth, kBitmapHeight, QImage::Format_RGB32);
  chartImage_.fill(Qt::black);
  stripImage_.fill(Qt::white);

  auto* menuBar = new QMenuBar(this);
  CreateMenus(menuBar);
  auto* toolBar = new QWidget(this);
  toolBar->setObjectName("ToolBar");
  toolBar->setFixedHeight(47);
  CreateToolBar(toolBar);
  WaveGroup = new QGroupBox(" Recorded waveform ", this);
  CreateChart();
  PointGroup = new QGroupBox(" Record point parameters ", this);
  PointGroup->setFixedHeight(kPointGroupHeight);
  CreatePointPanel();
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  // The panels are at least as wide as their design and as the texts they show, in a
  // narrow font; the last takes the rest.
  QFont small;
  small.setFamilies({"Liberation Sans Narrow", "DejaVu Sans Condensed", "Liberation Sans"});
  small.setPixelSize(11);
  const QFontMetrics metrics(small);
  const QString sampleTime = DaysText(QLocale::system(), 46366.999988);
  const int widths[7] = {90, 120, 140, 140, 90, 70, 50};
  const QString widest[7] = {QString::fromUtf8("存盘间隔时间：60秒"),
                             QString::fromUtf8("存盘间隔时间：60秒"),
                             "Start: " + sampleTime,
                             "End: " + sampleTime,
                             "Length: 2400",
                             "Mode: Record",
                             QString()};
  const char* initial[7] = {"采样步长：",
                            "存盘间隔时间：",
                            "Start:",
                            "End:",
                            "Length:",
                            "Mode: Record",
                            "Display: Show only positive  "};
  for (int i = 0; i < 7; ++i) {
    Panels[i] = new QLabel(QString::fromUtf8(initial[i]));
    Panels[i]->setFont(small);
    Panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panels[i]->setMinimumWidth(std::max(widths[i], metrics.horizontalAdvance(widest[i]) + 8));
    if (i == 6) Panels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StatusBar1->addWidget(Panels[i], i == 6 ? 1 : 0);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menuBar);
  layout->addWidget(toolBar);
  layout->addWidget(WaveGroup, 1);
  layout->addWidget(PointGroup);
  layout->addWidget(StatusBar1);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(1000);
  TimerSave = new QTimer(this);
  TimerSave->setObjectName("TimerSave");
  GridTimer = new QTimer(this);
  GridTimer->setObjectName("Timer2");
  GridTimer->setInterval(1000);
  ScrollBar1ChangeTimer = new QTimer(this);
  ScrollBar1ChangeTimer->setObjectName("ScrollBar1ChangeTimer");
  ScrollBar1ChangeTimer->setInterval(100);
  ScrollBar1ChangeTimer->setSingleShot(true);
  OpenTimer = new QTimer(this);
  OpenTimer->setObjectName("OpenTimer");
  OpenTimer->setInterval(1000);
  OpenTimer->setSingleShot(true);
  ConnectHandler(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  ConnectHandler(TimerSave, &QTimer::timeout, this, [this] { TimerSaveTimer(); });
  ConnectHandler(GridTimer, &QTimer::timeout, this, [this] { GridTimerTimer(); });
  ConnectHandler(ScrollBar1ChangeTimer, &QTimer::timeout, this, [this] { RedrawChart(); });
  ConnectHandler(OpenTimer, &QTimer::timeout, this, [this] { OpenTimerTimer(); });

  SaveDialog1.FileName = "RecordFile.qvr";
  SaveDialog1.Filter = "Quvex record file(.qvr)|*.qvr";
  OpenDialog1.Filter = "Quvex record file(.qvr)|*.qvr";
  SaveDialog2.FileName = "RecordFile.xlsx";
  SaveDialog2.Filter = "EXCEL File(.xlsx)|*.xlsx|CSV File(.csv)|*.csv";
}

void TRecordForm::CreateMenus(QMenuBar* bar) {
  QMenu* file = bar->addMenu("File(&F)");
  Open1 = file->addAction("Open");
  New1 = file->addAction("New");
  file->addSeparator();
  Print1 = file->addAction("Print");
  Print1->setEnabled(false);
  file->addSeparator();
  Export1 = file->addAction("Export EXCEL File");
  file->addSeparator();
  Exit1 = file->addAction("Exit");
  QMenu* options = bar->addMenu("Options (&O)");
  Setting1 = options->addAction("Setting");
  QMenu* view = bar->addMenu("View (&V)");
  ForwardExpansion1 = view->addAction("Forward Expansion");
  BackwardCompression1 = view->addAction("Backward Compression");
  MoveRight1 = view->addAction("Move Right");
  MoveLeft1 = view->addAction("Move Left ");
  QMenu* run = bar->addMenu("Run (&R)");
  Starting1 = run->addAction("Starting");
  Starting1->setEnabled(false);
  Stop1 = run->addAction("Stop");
  Stop1->setEnabled(false);

  ConnectHandler(Open1, &QAction::triggered, this, [this] { OpenClick(); });
  ConnectHandler(New1, &QAction::triggered, this, [this] { NewClick(); });
  ConnectHandler(Export1, &QAction::triggered, this, [this] { ExportClick(); });
  ConnectHandler(Exit1, &QAction::triggered, this, [this] { hide(); });
  ConnectHandler(Setting1, &QAction::triggered, this, [this] { SettingClick(); });
  ConnectHandler(ForwardExpansion1, &QAction::triggered, this, [this] { ForwardExpansion(); });
  ConnectHandler(BackwardCompression1, &QAction::triggered, this,
                 [this] { BackwardCompression(); });
  ConnectHandler(MoveRight1, &QAction::triggered, this, [this] { MoveRight(); });
  ConnectHandler(MoveLeft1, &QAction::triggered, this, [this] { MoveLeft(); });
  ConnectHandler(Starting1, &QAction::triggered, this, [this] { StartClick(); });
  ConnectHandler(Stop1, &QAction::triggered, this, [this] { StopClick(); });
}

void TRecordForm::CreateToolBar(QWidget* bar) {
  int x = 2;
  SeSkinSpeedButton1 = ToolButton(bar, "SeSkinSpeedButton1", "Open", x);
  SeSkinSpeedButton12 = ToolButton(bar, "SeSkinSpeedButton12", "New", x);
  x += 6;
  SeSkinSpeedButton3 = ToolButton(bar, "SeSkinSpeedButton3", "Print", x);
  x += 6;
  SeSkinSpeedButton4 = ToolButton(bar, "SeSkinSpeedButton4", "Setting", x);
  x += 6;
  SeSkinSpeedButton5 = ToolButton(bar, "SeSkinSpeedButton5", "Start", x);
  x += 6;
  SeSkinSpeedButton6 = ToolButton(bar, "SeSkinSpeedButton6", "Stop", x);
  x += 6;
  SeSkinSpeedButton11 = ToolButton(bar, "SeSkinSpeedButton11", QString(), x);
  SeSkinSpeedButton11->setToolButtonStyle(Qt::ToolButtonIconOnly);
  SeSkinSpeedButton11->setIconSize(QSize(32, 32));
  x += 6;
  SeSkinSpeedButton9 = ToolButton(bar, "SeSkinSpeedButton9", "<<", x);
  SeSkinSpeedButton10 = ToolButton(bar, "SeSkinSpeedButton10", ">>", x);
  x += 6;
  SeSkinSpeedButton7 = ToolButton(bar, "SeSkinSpeedButton7", "-", x);
  SeSkinSpeedButton8 = ToolButton(bar, "SeSkinSpeedButton8", "+", x);
  SeSkinSpeedButton5->setEnabled(false);
  SeSkinSpeedButton6->setEnabled(false);

  ConnectHandler(SeSkinSpeedButton1, &QToolButton::clicked, this, [this] { OpenClick(); });
  ConnectHandler(SeSkinSpeedButton12, &QToolButton::clicked, this, [this] { NewClick(); });
  ConnectHandler(SeSkinSpeedButton3, &QToolButton::clicked, this, [this] {
    if (onPrint) onPrint();
  });
  ConnectHandler(SeSkinSpeedButton4, &QToolButton::clicked, this, [this] { SettingClick(); });
  ConnectHandler(SeSkinSpeedButton5, &QToolButton::clicked, this, [this] { StartClick(); });
  ConnectHandler(SeSkinSpeedButton6, &QToolButton::clicked, this, [this] { StopClick(); });
  ConnectHandler(SeSkinSpeedButton11, &QToolButton::clicked, this, [this] { ViewModeClick(); });
  ConnectHandler(SeSkinSpeedButton9, &QToolButton::clicked, this, [this] { MoveLeft(); });
  ConnectHandler(SeSkinSpeedButton10, &QToolButton::clicked, this, [this] { MoveRight(); });
  ConnectHandler(SeSkinSpeedButton7, &QToolButton::clicked, this,
                 [this] { BackwardCompression(); });
  ConnectHandler(SeSkinSpeedButton8, &QToolButton::clicked, this, [this] { ForwardExpansion(); });
}

void TRecordForm::CreateChart() {
  Panel2 = new QWidget(WaveGroup);
  Panel2->setObjectName("Panel2");
  MarkerStrip = new QWidget(Panel2);
  MarkerStrip->setAutoFillBackground(true);
  MarkerStrip->setStyleSheet("background-color: #ffffff;");
  for (int c = 0; c < kRecordChannels; ++c) {
    Images[c] = new QLabel(MarkerStrip);
    Images[c]->setObjectName(QString("Image%1").arg(c + 1));
    Images[c]->setGeometry(0, 16, 25, 14);
  }
  Pic4 = new ImageBox(chartImage_, Panel2);
  Pic4->setObjectName("Pic4");
  Pic4->setMouseTracking(true);
  Pic4->installEventFilter(this);
  Pic5 = new ImageBox(stripImage_, Panel2);
  Pic5->setObjectName("Pic5");
  SeSkinScrollBar1 = new QScrollBar(Qt::Horizontal, Panel2);
  SeSkinScrollBar1->setObjectName("SeSkinScrollBar1");
  SeSkinScrollBar1->setRange(0, 450);
  SeSkinButton19 = new QPushButton(Panel2);
  SeSkinButton19->setObjectName("SeSkinButton19");
  SeSkinButton19->setToolTip(QString::fromUtf8("单击选择数据显示范围"));
  SeSkinButton19->setText("±");
  TrackBar1 = new QSlider(Qt::Horizontal, Panel2);
  TrackBar1->setObjectName("TrackBar1");
  TrackBar1->setRange(0, 150);
  TrackBar1->setValue(150);
  TrackBar1->hide();
  // Setting the bars from the program runs their change handling, as a user's move does.
  connect(SeSkinScrollBar1, &QScrollBar::valueChanged, this,
          [this](int q) { RunHandler([this, q] { ScrollBarChange(q); }); });
  connect(TrackBar1, &QSlider::valueChanged, this,
          [this](int p) { RunHandler([this, p] { TrackBarChange(p); }); });
  ConnectHandler(SeSkinButton19, &QPushButton::clicked, this, [this] { RangeButtonClick(); });
}

void TRecordForm::CreatePointPanel() {
  auto* timePanel = new QFrame(PointGroup);
  timePanel->setGeometry(8, 20, 150, kPointGroupHeight - 28);
  timePanel->setStyleSheet("QFrame { background-color: #c0c0c0; }");
  TimeCaption = new QLabel("Record time:", timePanel);
  TimeCaption->setGeometry(6, 10, 140, 20);
  DateLabel = new QLabel(QString::fromUtf8("Date：   "), timePanel);
  DateLabel->setGeometry(6, 40, 140, 20);
  TimeLabel = new QLabel(QString::fromUtf8("Time：  "), timePanel);
  TimeLabel->setGeometry(6, 70, 140, 20);
  for (int c = 0; c < kRecordChannels; ++c) {
    auto* panel = new QFrame(PointGroup);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(166 + (c / 3) * 322, 20 + (c % 3) * 40, 318, 36);
    Tags[c] = new QLabel(kTagTexts[c], panel);
    Tags[c]->setGeometry(4, 8, 30, 20);
    Tags[c]->setStyleSheet(
        QString("QLabel { color: %1; font-weight: bold; }").arg(kRecordChannelColours[c].name()));
    Names[c] = new QLabel(QString::fromUtf8(kDesignNames[c]), panel);
    Names[c]->setObjectName(QString("Label%1").arg(7 + c));
    Names[c]->setGeometry(36, 8, 130, 20);
    ValueLabels[c] = new QLabel(QString::fromUtf8("Value："), panel);
    ValueLabels[c]->setGeometry(168, 8, 84, 20);
    const char* captions[3] = {"+", "-", "o"};
    QPushButton** buttons[3] = {&EnlargeButtons[c], &ReduceButtons[c], &ShowButtons[c]};
    for (int b = 0; b < 3; ++b) {
      *buttons[b] = new QPushButton(captions[b], panel);
      (*buttons[b])->setObjectName(kScaleButtonNames[c][b]);
      (*buttons[b])->setGeometry(254 + 20 * b, 8, 19, 19);
    }
    ConnectHandler(EnlargeButtons[c], &QPushButton::clicked, this, [this, c] { EnlargeClick(c); });
    ConnectHandler(ReduceButtons[c], &QPushButton::clicked, this, [this, c] { ReduceClick(c); });
    ConnectHandler(ShowButtons[c], &QPushButton::clicked, this, [this, c] { ShowHideClick(c); });
  }
}

void TRecordForm::FormCreate() {
  state_.SampleCount = 0;
  state_.ViewMode = 0;
  state_.Allocate();
  for (int c = 0; c < kRecordChannels; ++c) {
    const QString path = DataFile(QString("PenData/%1.dat").arg(kMarkerFiles[c]));
    const QImage marker(path);
    if (marker.isNull()) throw AppError(QString("Cannot open file \"%1\".").arg(path));
    Images[c]->setPixmap(QPixmap::fromImage(marker));
  }
  const IniFile settings = SystemSettings();
  int selection[kRecordChannels];
  for (int c = 0; c < kRecordChannels; ++c) {
    selection[c] = settings.ReadInteger(settings::kRecordSet, settings::kRecordChannel[c]);
    state_.RecordSelection[c] = selection[c];
  }
  const int step = settings.ReadInteger(settings::kRecordSet, settings::kSamplingStep);
  if (StepIntervalMs(step) > 0) SetStepInterval(StepIntervalMs(step), StepStatusText(step));
  const int save = settings.ReadInteger(settings::kRecordSet, settings::kSaveStep);
  if (SaveIntervalMs(save) > 0) SetSaveInterval(SaveIntervalMs(save), SaveStatusText(save));
  CaptionChannels(selection);
  SetViewModePicture(true);
  ScrollBar1ChangeTimer->start();
}

void TRecordForm::SetStepInterval(int ms, const QString& text) {
  state_.StepInterval = ms;
  SetStatus(0, text);
  Timer1->setInterval(ms);
}

void TRecordForm::SetSaveInterval(int ms, const QString& text) {
  state_.SaveInterval = ms;
  SetStatus(1, text);
  TimerSave->setInterval(ms);
}

void TRecordForm::SetSelection(const int (&selection)[kRecordChannels]) {
  std::copy(std::begin(selection), std::end(selection), state_.RecordSelection);
}

void TRecordForm::CaptionChannels(const int (&parameters)[kRecordChannels]) {
  for (int c = 0; c < kRecordChannels; ++c) Names[c]->setText(ParameterDisplayName(parameters[c]));
}

QString TRecordForm::StatusText(int panel) const {
  return panel >= 0 && panel < 7 ? Panels[panel]->text() : QString();
}

void TRecordForm::SetViewModePicture(bool recordMode) {
  // A missing picture leaves the button without one.
  const QImage picture(DataFile(recordMode ? "PenData/12.dat" : "PenData/13.dat"));
  SeSkinSpeedButton11->setIcon(picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture)));
}

void TRecordForm::NewClick() {
  // The running recording and its file stay as they are until the new file exists.
  if (!SaveDialog1.Execute(this)) return;
  const QString path = SaveDialog1.FileName;
  if (QFileInfo::exists(path)) {
    const auto answer =
        AskQuestion({"File exists", "  file already exists, overwrite?  ", QMessageBox::Question,
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton});
    if (answer != QMessageBox::Yes) return;
  }
  NewRecordFile(state_, path);
  saveErrorShown_ = false;
  SeSkinSpeedButton5->setEnabled(!Timer1->isActive());
  Starting1->setEnabled(!Timer1->isActive());
  if (!Timer1->isActive()) {
    SeSkinSpeedButton4->setEnabled(true);
    Setting1->setEnabled(true);
  }
  SetStatus(5, "Mode: Record");
  SetViewModePicture(true);
  RedrawChart();
}

void TRecordForm::StartClick() {
  if (SamplingMode != kSamplingContinuous) {
    ShowMessage(
        "To start recording the main form must be continuous test mode, Record does not start!");
    return;
  }
  if (!state_.RecordFileReady || state_.RecordFilePath.isEmpty()) {
    ShowMessage("Create a new record file!");
    return;
  }
  Timer1->setInterval(state_.StepInterval);
  TimerSave->setInterval(state_.SaveInterval);
  // An interval that was never set never fires.
  if (state_.StepInterval > 0) Timer1->start();
  GridTimer->start();
  if (state_.SaveInterval > 0) TimerSave->start();
  SeSkinSpeedButton4->setEnabled(false);
  Setting1->setEnabled(false);
  Starting1->setEnabled(false);
  Stop1->setEnabled(true);
  state_.ViewMode = 0;
  SeSkinSpeedButton5->setEnabled(false);
  SeSkinSpeedButton6->setEnabled(true);
  chart_.Live = ChartView{};
  SeSkinScrollBar1->setValue(0);
  TrackBar1->setValue(150);
}

void TRecordForm::Timer1Timer() {
  if (SamplingMode == kSamplingContinuous) {
    const bool full =
        TakeSample(state_, MeasurementData, DaysFromDateTime(QDateTime::currentDateTime()));
    if (full) {
      Timer1->stop();
      // The last samples reach the file before the recording ends.
      TimerSaveTimer();
      TimerSave->stop();
      SeSkinSpeedButton5->setEnabled(false);
      SeSkinSpeedButton6->setEnabled(false);
      ShowMessage(
          " Recorded data has exceeded  maximum file size limit, Please start again after New "
          "File.");
    }
  } else {
    Timer1->stop();
    ShowMessage(" You have  stop  continuous sampling, record stop!");
    SeSkinSpeedButton6->setEnabled(false);
  }
  RedrawChart();
}

void TRecordForm::TimerSaveTimer() {
  const QString problem = SaveTick(state_);
  if (problem.isEmpty()) {
    saveErrorShown_ = false;
    return;
  }
  // Reported once; the recording goes on and the next tick tries again.
  if (saveErrorShown_) return;
  saveErrorShown_ = true;
  ShowMessage(QString("Cannot write file \"%1\". %2").arg(state_.RecordFileName, problem));
}

void TRecordForm::StopClick() {
  Timer1->stop();
  TimerSave->stop();
  GridTimer->stop();
  SeSkinSpeedButton6->setEnabled(false);
  Stop1->setEnabled(false);
  SeSkinSpeedButton4->setEnabled(true);
  Setting1->setEnabled(true);
}

void TRecordForm::SettingClick() {
  if (settings_) settings_->exec();
}

void TRecordForm::OpenClick() {
  if (!OpenDialog1.Execute(this)) {
    RedrawChart();
    return;
  }
  OpenRecordFile(OpenDialog1.FileName);
}

void TRecordForm::OpenRecordFile(const QString& path) {
  const OpenedRecording opened = ::OpenRecordFile(state_, path);
  int parameters[kRecordChannels];
  for (int c = 0; c < kRecordChannels; ++c) parameters[c] = opened.Parameters[c];
  CaptionChannels(parameters);
  state_.ViewMode = 1;
  SetStatus(5, "Mode:Open");
  SetViewModePicture(false);
  SeSkinSpeedButton4->setEnabled(false);
  Setting1->setEnabled(false);
  RedrawChart();
  // A file that is not sound as a whole opens as far as it is; say how far.
  if (opened.TrailingBytes || opened.TooManyRecords || opened.StoredCount != opened.Count) {
    StatusBar1->showMessage(QString("The file is damaged: %1 samples of %2 records read")
                                .arg(opened.Count)
                                .arg(opened.Records),
                            10000);
  }
}

void TRecordForm::OpenTimerTimer() {
  OpenTimer->stop();
  show();
  OpenRecordFile(CommandLineFile);
}

ChartData TRecordForm::CurrentData() const {
  ChartData data;
  data.FileReady = state_.RecordFileReady && state_.Allocated();
  data.ViewMode = state_.ViewMode;
  if (state_.ViewMode == 1) {
    data.Buffers = &state_.Opened;
    data.Count = state_.OpenedLastIndex;
    data.Last = state_.OpenedLastIndex;
  } else {
    data.Buffers = &state_.Live;
    data.Count = state_.SampleCount;
    data.Last = state_.SampleCount - 1;
  }
  return data;
}

int TRecordForm::CurrentCount() const {
  return state_.ViewMode == 1 ? state_.OpenedLastIndex : state_.SampleCount;
}

void TRecordForm::RedrawChart() {
  // A chart larger than its bitmap is drawn only within the bitmap.
  const int W = std::min(Pic4->width(), kBitmapWidth);
  const int H = std::min(Pic4->height(), kBitmapHeight);
  if (W <= 0 || H <= 0) return;
  {
    QPainter painter(&chartImage_);
    const ChartTexts texts =
        DrawRecordChart(painter, W, H, chart_, CurrentData(), WaveBackground, ScaleColor);
    if (mouseX_ >= 0 && mouseX_ < W) {
      painter.setPen(QPen(QColor(160, 160, 164), 1, Qt::DotLine));
      painter.drawLine(mouseX_, 0, mouseX_, H);
    }
    SetStatus(0, texts.Step);
    SetStatus(4, texts.Length);
    // With no point drawn the start and end show their captions alone.
    SetStatus(2, texts.Points >= 1 ? texts.Start : "Start:");
    SetStatus(3, texts.Points >= 1 ? texts.End : "End:");
    for (int c = 0; c < kRecordChannels; ++c) {
      if (texts.Points >= 1 && chart_.ChannelVisible[c]) {
        Images[c]->move(0, std::clamp(texts.MarkerTop[c], -14, H));
      }
    }
  }
  {
    QPainter painter(&stripImage_);
    DrawScaleStrip(painter, std::min(Pic5->height(), kBitmapHeight), chart_.RangeMode);
  }
  Pic4->update();
  Pic5->update();
}

void TRecordForm::SetScrollFromOffset() {
  const int count = CurrentCount();
  if (count != 0) {
    SeSkinScrollBar1->setValue(
        RoundHalfEven(CurrentView(chart_, state_.ViewMode).Offset * 450.0 / count));
  }
}

void TRecordForm::ForwardExpansion() {
  ChartView& view = CurrentView(chart_, state_.ViewMode);
  if (view.Zoom > 1) {
    --view.Zoom;
  } else {
    SeSkinSpeedButton8->setEnabled(false);
    ForwardExpansion1->setEnabled(false);
  }
  SeSkinSpeedButton7->setEnabled(true);
  BackwardCompression1->setEnabled(true);
  TrackBar1->setValue(151 - view.Zoom);
  if (state_.ViewMode == 0) GridTimer->setInterval(view.Zoom * 1000);
  SetScrollFromOffset();
  RedrawChart();
}

void TRecordForm::BackwardCompression() {
  ChartView& view = CurrentView(chart_, state_.ViewMode);
  const int W = std::min(Pic4->width(), kBitmapWidth);
  if (CurrentCount() / view.Zoom > RoundHalfEven(0.95 * W)) {
    ++view.Zoom;
    TrackBar1->setValue(151 - view.Zoom);
  } else {
    SeSkinSpeedButton7->setEnabled(false);
    BackwardCompression1->setEnabled(false);
  }
  SeSkinSpeedButton8->setEnabled(true);
  ForwardExpansion1->setEnabled(true);
  if (state_.ViewMode == 0) GridTimer->setInterval(view.Zoom * 1000);
  SetScrollFromOffset();
  RedrawChart();
}

void TRecordForm::TrackBarChange(int position) {
  ChartView& view = CurrentView(chart_, state_.ViewMode);
  const int z = 151 - position;
  const int W = std::min(Pic4->width(), kBitmapWidth);
  if (z >= 1 && CurrentCount() / z > RoundHalfEven(0.5 * W)) view.Zoom = z;
  GridTimer->setInterval(view.Zoom * 1000);
  ScrollBar1ChangeTimer->start();
}

void TRecordForm::MoveRight() {
  ChartView& view = CurrentView(chart_, state_.ViewMode);
  SeSkinSpeedButton9->setEnabled(true);
  MoveLeft1->setEnabled(true);
  const bool room = state_.ViewMode == 0 ? view.Offset + 500 < state_.SampleCount - view.Offset
                                         : view.Offset + 500 < state_.OpenedLastIndex;
  if (room) {
    view.Offset += 500;
  } else {
    SeSkinSpeedButton10->setEnabled(false);
    MoveRight1->setEnabled(false);
  }
  SetScrollFromOffset();
  RedrawChart();
}

void TRecordForm::MoveLeft() {
  ChartView& view = CurrentView(chart_, state_.ViewMode);
  SeSkinSpeedButton10->setEnabled(true);
  MoveRight1->setEnabled(true);
  if (view.Offset > 0) {
    view.Offset = std::max(0, view.Offset - 300);
  } else {
    SeSkinSpeedButton9->setEnabled(false);
    MoveLeft1->setEnabled(false);
  }
  SetScrollFromOffset();
  RedrawChart();
}

void TRecordForm::ScrollBarChange(int position) {
  const int count = CurrentCount();
  if (count <= 450) return;
  const int a = static_cast<int>(static_cast<long long>(position) * count / 450);
  const int W = std::min(Pic4->width(), kBitmapWidth);
  if (count - a > 0.95 * W) {
    CurrentView(chart_, state_.ViewMode).Offset = a;
    ScrollBar1ChangeTimer->start();
  }
}

void TRecordForm::RangeButtonClick() {
  chart_.RangeMode = (chart_.RangeMode + 1) % 3;
  RedrawChart();
  SetStatus(6, kRangeTexts[chart_.RangeMode]);
}

void TRecordForm::ViewModeClick() {
  state_.ViewMode = state_.ViewMode == 0 ? 1 : 0;
  RedrawChart();
  const bool live = state_.ViewMode == 0;
  const ChartView& view = CurrentView(chart_, state_.ViewMode);
  SetStatus(5, live ? "Mode:Record" : "Mode:Open");
  TrackBar1->setValue(151 - view.Zoom);
  SetScrollFromOffset();
  SetViewModePicture(live);
}

void TRecordForm::EnlargeClick(int c) {
  chart_.ChannelScaleIndex[c] = std::min(chart_.ChannelScaleIndex[c] + 1, kScaleCount - 1);
  chart_.ChannelScale[c] = ScaleTable[chart_.ChannelScaleIndex[c]];
  if (chart_.ChannelScaleIndex[c] == kScaleCount - 1) EnlargeButtons[c]->setEnabled(false);
  ReduceButtons[c]->setEnabled(true);
  RedrawChart();
}

void TRecordForm::ReduceClick(int c) {
  chart_.ChannelScaleIndex[c] = std::max(chart_.ChannelScaleIndex[c] - 1, 0);
  chart_.ChannelScale[c] = ScaleTable[chart_.ChannelScaleIndex[c]];
  if (chart_.ChannelScaleIndex[c] == 0) ReduceButtons[c]->setEnabled(false);
  EnlargeButtons[c]->setEnabled(true);
  RedrawChart();
}

void TRecordForm::ShowHideClick(int c) {
  const bool visible = !chart_.ChannelVisible[c];
  chart_.ChannelVisible[c] = visible;
  for (QWidget* w :
       {static_cast<QWidget*>(Tags[c]), static_cast<QWidget*>(Names[c]),
        static_cast<QWidget*>(ValueLabels[c]), static_cast<QWidget*>(EnlargeButtons[c]),
        static_cast<QWidget*>(ReduceButtons[c])}) {
    w->setEnabled(visible);
  }
  Images[c]->setVisible(visible);
  if (visible) {
    EnlargeButtons[c]->setEnabled(chart_.ChannelScaleIndex[c] != kScaleCount - 1);
    ReduceButtons[c]->setEnabled(chart_.ChannelScaleIndex[c] != 0);
  }
  RedrawChart();
}

void TRecordForm::MouseReadout(int x) {
  mouseX_ = x;
  RedrawChart();
  const ChartView& view = CurrentView(chart_, state_.ViewMode);
  const bool inside =
      state_.ViewMode == 0
          ? static_cast<long long>(x) * view.Zoom + view.Offset + 1 < state_.SampleCount
          : static_cast<long long>(x) * view.Zoom + view.Offset < state_.OpenedLastIndex;
  if (!state_.RecordFileReady || x < 0 || !inside) return;
  const ChartData data = CurrentData();
  const int s = data.Last - view.Offset - view.Zoom * x;
  if (s < 1 || s >= kRecordCapacity) return;
  const QLocale locale = QLocale::system();
  DateLabel->setText("Date:" + DaysDateText(locale, data.Buffers->Times[s]));
  TimeLabel->setText("Time:" + DaysTimeText(locale, data.Buffers->Times[s]));
  for (int c = 0; c < kRecordChannels; ++c) {
    // Halves to even, in double: a value of any size keeps its digits.
    const double rounded = std::nearbyint(data.Buffers->Values[c][s] * 1000.0) / 1000.0;
    ValueLabels[c]->setText("Value:" + GeneralText(rounded));
  }
}

void TRecordForm::PlaceChart() {
  const QSize group = WaveGroup->size();
  Panel2->setGeometry(5, 16, std::max(0, group.width() - 10), std::max(0, group.height() - 21));
  const int pw = Panel2->width();
  const int ph = Panel2->height();
  const int chartHeight = std::max(0, ph - kScrollBarHeight);
  MarkerStrip->setGeometry(0, 0, kMarkerStripWidth, chartHeight);
  Pic4->setGeometry(kMarkerStripWidth, 0, std::max(0, pw - kMarkerStripWidth - kScaleStripWidth),
                    chartHeight);
  Pic5->setGeometry(pw - kScaleStripWidth, 0, kScaleStripWidth, chartHeight);
  SeSkinScrollBar1->setGeometry(0, chartHeight, pw, kScrollBarHeight);
  SeSkinButton19->setGeometry(Pic5->x() + 1, ph - 36, 17, 17);
  TrackBar1->setGeometry(29, 4, std::max(0, pw - 81), 20);
}

void TRecordForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PlaceChart();
  RunHandler([this] { RedrawChart(); });
}

bool TRecordForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Pic4) {
    if (event->type() == QEvent::MouseMove) {
      const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
      RunHandler([this, x] { MouseReadout(x); });
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      TrackBar1->setVisible(!TrackBar1->isVisible());
    } else if (event->type() == QEvent::Resize) {
      RunHandler([this] { RedrawChart(); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TRecordForm::GridTimerTimer() {
  chart_.GridPhase = (chart_.GridPhase + 1) % 20;
}

void TRecordForm::ExportClick() {
  if (!SaveDialog2.Execute(this)) return;
  const QString target = SaveDialog2.FileName;
  // The recording the chart shows, every sample of it.
  const bool opened = state_.ViewMode == 1;
  ExportInput input;
  input.Buffers = opened ? &state_.Opened : &state_.Live;
  input.Count = opened ? state_.OpenedLastIndex + 1 : state_.SampleCount;
  for (int c = 0; c < kRecordChannels; ++c) input.Names[c] = Names[c]->text();

  // Exports of more than about half a second show their progress and can be cancelled;
  // the dialog only repaints and takes the cancel.
  QProgressDialog progress("Exporting the recording...", "Cancel", 0, std::max(input.Count, 1),
                           this);
  progress.setWindowTitle("Export EXCEL File");
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  const ExportResult result = WriteExport(target, ExportFormatOf(target), input, QLocale::system(),
                                          [&progress](int written, int) {
                                            progress.setValue(written);
                                            return !progress.wasCanceled();
                                          });
  progress.reset();
  if (result.Cancelled) return;
  if (!result.Ok) {
    ShowMessage(QString("Export to \"%1\" failed: %2").arg(target, result.Error));
    return;
  }
  const auto answer = AskQuestion(
      {"Export is complete", "Data export is complete, make sure to save?", QMessageBox::Question,
       QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton});
  if (answer != QMessageBox::Yes) {
    DiscardExport(result);
    return;
  }
  const QString problem = CommitExport(result, target);
  if (!problem.isEmpty()) ShowMessage(QString("Cannot write file \"%1\". %2").arg(target, problem));
}
