#include "app/TMainForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <functional>

#include "app/Pictures.h"
#include "app/TVForm.h"
#include "app/Tskin.h"
#include "config/TAlarmForm.h"
#include "config/TCalibrateForm.h"
#include "config/TInputNetSet.h"
#include "display/HarmonicGrid.h"
#include "display/MeasurementModel.h"
#include "display/PlotImages.h"
#include "display/ThreePhasePage.h"
#include "files/MeasurementFile.h"
#include "link/BindComm1.h"
#include "link/LinkLog.h"
#include "link/LinkPort.h"
#include "link/TLinkMonitorForm.h"
#include "platform/CommandLine.h"
#include "platform/DataFolders.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/SettingsKeys.h"
#include "print/ReportMode.h"
#include "print/TPrinterForm.h"
#include "record/TRecordForm.h"

namespace {

QToolButton* ToolButton(QToolBar* bar, const char* name, const QString& hint, ToolPicture picture) {
  auto* button = new QToolButton(bar);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setIcon(ToolIcon(picture));
  button->setIconSize(QSize(32, 32));
  button->setFixedSize(47, 45);
  bar->addWidget(button);
  return button;
}

// The command line's file is a measurement file for these endings only.
bool EndsWithOneOf(const QString& text, std::initializer_list<const char*> endings) {
  const QString last = text.right(3);
  for (const char* ending : endings) {
    if (last == QLatin1String(ending)) return true;
  }
  return false;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), router_(std::make_unique<WindowRouter>(*this)) {
  setObjectName("TMainForm");
  setWindowTitle("QUVEX Technologies,Inc.");
  resize(1000, 768);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  CreateMenus();
  CreateToolBar();
  CreatePages();
  StatusBar = new MainStatusBar(this);
  setStatusBar(StatusBar);
  StatusBar->onLogoClicked = [] { QDesktopServices::openUrl(QUrl(kMakerWebsite)); };

  Comm1 = new TComm(this);
  Comm1->setObjectName("Comm1");
  BindComm1(*Comm1, *router_);  // its poll runs the dispatcher under the general error handler
  Sampling = new SamplingControl(*router_, this);
  WireSampling();
  Sampling->ApplyStartupState();

  MOpenTimer = new QTimer(this);
  MOpenTimer->setObjectName("MOpenTimer");
  MOpenTimer->setInterval(1000);
  ConnectHandler(MOpenTimer, &QTimer::timeout, this, [this] { MOpenTimerTimer(); });

  SaveDialog1.FileName = "TestFile.qvm";
  SaveDialog1.Filter = "Quvex measurement file(.qvm)|*.qvm";
  OpenDialog1.Filter = "Quvex measurement file(.qvm)|*.qvm|AllFile|*.*";
}

TMainForm::~TMainForm() {
  if (CurrentLinkPort() == Comm1) SetLinkPort(nullptr);
}

void TMainForm::CreateMenus() {
  File1 = menuBar()->addMenu("File(&F)");
  Open1 = File1->addAction("Open");
  Save1 = File1->addAction("Save");
  File1->addSeparator();
  N5 = File1->addAction("Print");
  File1->addSeparator();
  Close1 = File1->addAction("Close");

  Options1 = menuBar()->addMenu("Options (&O)");
  C1 = Options1->addAction("Communication");
  Options1->addSeparator();
  Style1 = Options1->addAction("Style");
  Options1->addSeparator();
  N11 = Options1->addAction("Alarm ");
  N9 = Options1->addSeparator();
  N9->setVisible(false);
  N10 = Options1->addAction("校准 ");
  N10->setVisible(false);
  Options1->addSeparator();
  N33 = Options1->addAction("Instrument Settings");
  Options1->addSeparator();
  LinkMonitor1 = Options1->addAction("Link monitor");

  Run1 = menuBar()->addMenu("Run (&P)");
  N12 = Run1->addAction("Single Sampling ");
  N13 = Run1->addAction("Continuous Sampling");
  N14 = Run1->addAction("Stop ");
  Run1->addSeparator();
  Record1 = Run1->addAction("Record");

  Help1 = menuBar()->addMenu("Help(&H)");
  Version1 = Help1->addAction("Version Information ");
  Website1 = Help1->addAction("Quvex Website");
  Help1->addSeparator();
  Manual1 = Help1->addAction("User's manual ");

  ConnectHandler(Open1, &QAction::triggered, this, [this] { SeSkinSpeedButton1Click(); });
  ConnectHandler(Save1, &QAction::triggered, this, [this] { SeSkinSpeedButton2Click(); });
  ConnectHandler(N5, &QAction::triggered, this, [this] { SeSkinSpeedButton3Click(); });
  ConnectHandler(Close1, &QAction::triggered, this, [this] { close(); });
  ConnectHandler(Record1, &QAction::triggered, this, [this] { SeSkinSpeedButton5Click(); });
  ConnectHandler(Version1, &QAction::triggered, this, [this] {
    if (windows_.version) windows_.version->exec();
  });
  ConnectHandler(Website1, &QAction::triggered, this,
                 [] { QDesktopServices::openUrl(QUrl(kMakerWebsite)); });
  ConnectHandler(Manual1, &QAction::triggered, this, [] {
    // The user's guide in the data folder; without it a clear message, not a silent nothing.
    const QString handbook = DataFile("Handbook.pdf");
    if (!QFileInfo::exists(handbook)) {
      ShowMessage(QString("The user's manual is missing: %1").arg(handbook));
      return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(handbook));
  });
}

void TMainForm::CreateToolBar() {
  ToolBar1 = addToolBar("ToolBar1");
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setMovable(false);
  SeSkinSpeedButton1 = ToolButton(ToolBar1, "SeSkinSpeedButton1", "Open", ToolPicture::Open);
  SeSkinSpeedButton2 = ToolButton(ToolBar1, "SeSkinSpeedButton2", "Save", ToolPicture::Save);
  SeSkinSpeedButton3 = ToolButton(ToolBar1, "SeSkinSpeedButton3", "Print", ToolPicture::Print);
  ToolBar1->addSeparator();
  SeSkinSpeedButton5 = ToolButton(ToolBar1, "SeSkinSpeedButton5", "Record ", ToolPicture::Record);
  ToolBar1->addSeparator();
  SeSkinSpeedButton7 =
      ToolButton(ToolBar1, "SeSkinSpeedButton7", "Single Sampling ", ToolPicture::Single);
  SeSkinButton4 =
      ToolButton(ToolBar1, "SeSkinButton4", "Continuous Sampling", ToolPicture::Continuous);
  SeSkinSpeedButton9 = ToolButton(ToolBar1, "SeSkinSpeedButton9", "Stop", ToolPicture::Stop);
  ToolBar1->addSeparator();

  ConnectHandler(SeSkinSpeedButton1, &QToolButton::clicked, this,
                 [this] { SeSkinSpeedButton1Click(); });
  ConnectHandler(SeSkinSpeedButton2, &QToolButton::clicked, this,
                 [this] { SeSkinSpeedButton2Click(); });
  ConnectHandler(SeSkinSpeedButton3, &QToolButton::clicked, this,
                 [this] { SeSkinSpeedButton3Click(); });
  ConnectHandler(SeSkinSpeedButton5, &QToolButton::clicked, this,
                 [this] { SeSkinSpeedButton5Click(); });
}

void TMainForm::CreatePages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setTabPosition(QTabWidget::South);
  auto channelPage = [this](int channel, const char* name, const QString& caption) {
    auto* sheet = new ChannelPage(channel);
    sheet->setObjectName(name);
    PageControl1->addTab(sheet, caption);
    return sheet;
  };
  SeCustomTabSheet1 = channelPage(1, "SeCustomTabSheet1", " Channel 1 ");
  SeCustomTabSheet2 = channelPage(2, "SeCustomTabSheet2", " Channel 2 ");
  SeCustomTabSheet3 = channelPage(3, "SeCustomTabSheet3", " Channel 3 ");
  // Every plot takes the size of channel 1's waveform box.
  SeCustomTabSheet2->SetPlotSizeReference(SeCustomTabSheet1->WavePaintBox);
  SeCustomTabSheet3->SetPlotSizeReference(SeCustomTabSheet1->WavePaintBox);
  SeCustomTabSheet4 = new ThreePhasePage;
  SeCustomTabSheet4->setObjectName("SeCustomTabSheet4");
  SeCustomTabSheet4->SetHost(this);
  SeCustomTabSheet4->SetPlotSizeReference(SeCustomTabSheet1->WavePaintBox);
  PageControl1->addTab(SeCustomTabSheet4, "Three-phase Analysis");
  SeCustomTabSheet5 = new HarmonicReportPage;
  SeCustomTabSheet5->setObjectName("SeCustomTabSheet5");
  PageControl1->addTab(SeCustomTabSheet5, " Harmonic Report ");
  // Below this page size the value rows and plot texts no longer fit.
  for (int i = 0; i < PageControl1->count(); ++i) {
    PageControl1->widget(i)->setMinimumSize(kMinimumPageSize);
  }
  // The page area: the tab widget resizes it with the window, and only the page in front
  // with it.
  pageArea_ = PageControl1->widget(0)->parentWidget();
  pageArea_->installEventFilter(this);
  setCentralWidget(PageControl1);
}

void TMainForm::SetWindows(const Windows& windows) {
  windows_ = windows;
  if (windows_.printer) {
    TPrinterForm& printer = *windows_.printer;
    printer.SetEnterInfoForm(windows_.enterInfo);
    // The three-phase page prints the vectors its phasor diagram shows.
    printer.vectorChoice = [this] {
      VectorChoice shown{};
      for (size_t i = 0; i < shown.size(); ++i)
        shown[i] = SeCustomTabSheet4->PhasorSelection.CheckBoxes[i]->isChecked();
      return shown;
    };
    if (TRecordForm* record = windows_.record) {
      printer.recordChart = [record] { return &record->Chart(); };
      printer.recordReport = [record] {
        RecordReportData data;
        data.Data = record->CurrentData();
        for (int c = 0; c < kRecordChannels; ++c) data.Names[c] = record->Names[c]->text();
        const int panels[4] = {0, 2, 3, 4};
        for (int i = 0; i < 4; ++i) data.Panels[i] = record->StatusText(panels[i]);
        return data;
      };
    }
  }
  if (windows_.record) {
    // The record window's Print button opens the preview with the record report.
    windows_.record->onPrint = [this] {
      ReportMode = kRecordReport;
      if (windows_.printer) windows_.printer->exec();
    };
  }
}

void TMainForm::FormCreate(const QStringList& arguments) {
  InitMeasurementRecord(MeasurementData);
  CreatePlotImages();
  ApplySkin(SystemSettings().ReadInteger(settings::kSkinSet, settings::kSkin));
  for (int channel = 1; channel <= 3; ++channel) Page(channel)->LoadHarmonicChoice();
  LayoutPages();
  InitHarmonicGrid(*SeCustomTabSheet5->StringGrid2);
  if (arguments.size() < 2) return;

  StartedWithFile = 1;
  CommandLineFile = CommandLineFileFrom(arguments);
  if (EndsWithOneOf(CommandLineFile, {"qvm", "QVM", "Qvm"})) {
    OpenMeasurementFile(arguments[1]);
  } else if (EndsWithOneOf(CommandLineFile, {"qvr", "QVR", "Qvr"})) {
    MOpenTimer->start();
  }
}

void TMainForm::OpenMeasurementFile(const QString& path) {
  ReadMeasurementFile(path, MeasurementData);
  RefreshAllPages();
}

void TMainForm::SeSkinSpeedButton1Click() {
  if (!OpenDialog1.Execute(this)) return;
  OpenMeasurementFile(OpenDialog1.FileName);
}

void TMainForm::SeSkinSpeedButton2Click() {
  if (!SaveDialog1.Execute(this)) return;
  if (QFileInfo::exists(SaveDialog1.FileName)) {
    const auto answer =
        AskQuestion({"File exists", "The file already exists, overwrite?", QMessageBox::Question,
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton});
    if (answer != QMessageBox::Yes) return;
  }
  WriteMeasurementFile(SaveDialog1.FileName, MeasurementData);
}

void TMainForm::SeSkinSpeedButton3Click() {
  ReportMode = kMeasurementReport;
  if (windows_.printer) windows_.printer->exec();
}

void TMainForm::SeSkinSpeedButton5Click() {
  if (windows_.record) windows_.record->show();
}

void TMainForm::MOpenTimerTimer() {
  MOpenTimer->stop();
  if (windows_.record) windows_.record->OpenTimer->start();
}

void TMainForm::ApplySkin(int code) {
  const QString problem = ApplySkinCode(skin_, code);
  if (!problem.isEmpty()) SetStatusText(0, problem);
}

void TMainForm::SetPlotBackground(const QColor& colour) {
  WaveBackground = colour;
}
void TMainForm::SetPlotGrid(const QColor& colour) {
  ScaleColor = colour;
}
QColor TMainForm::PlotBackground() const {
  return WaveBackground;
}
QColor TMainForm::PlotGrid() const {
  return ScaleColor;
}

ChannelPage* TMainForm::Page(int channel) const {
  ChannelPage* const pages[3] = {SeCustomTabSheet1, SeCustomTabSheet2, SeCustomTabSheet3};
  return channel >= 1 && channel <= 3 ? pages[channel - 1] : nullptr;
}

void TMainForm::LayoutPages() {
  MainPages pages;
  pages.Channel[0] = SeCustomTabSheet1;
  pages.Channel[1] = SeCustomTabSheet2;
  pages.Channel[2] = SeCustomTabSheet3;
  pages.ThreePhase = SeCustomTabSheet4;
  pages.Harmonic = SeCustomTabSheet5;
  // Every page, shown or not, is laid out for the size the page in front has.
  laidOutSize_ = pageArea_->size().expandedTo(kMinimumPageSize);
  LayOutPages(pages, laidOutSize_);
}

bool TMainForm::IsPageVisible(int page) const {
  return PageControl1->isTabVisible(page);
}
void TMainForm::SetPageVisible(int page, bool visible) {
  PageControl1->setTabVisible(page, visible);
}
void TMainForm::SelectPage(int page) {
  PageControl1->setCurrentIndex(page);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // A resize of the window resizes the page area: lay every page out again and redraw.
  const QEvent::Type type = event->type();
  if (watched == pageArea_ && (type == QEvent::Resize || type == QEvent::Show) &&
      pageArea_->size().expandedTo(kMinimumPageSize) != laidOutSize_) {
    LayoutPages();
    RefreshAllPages();
  }
  return QMainWindow::eventFilter(watched, event);
}
void TMainForm::RefreshAllPages() {
  for (int channel = 1; channel <= 3; ++channel) RefreshChannelPage(channel);
  RefreshThreePhasePage();
  RefreshHarmonicGrid();
}

void TMainForm::ShowProgressBar(int position) {
  SetProgressPosition(position);
  StatusBar->ProgressBar1->show();
  StatusBar->ProgressBar1->repaint();
}

void TMainForm::SetProgressPosition(int position) {
  // Beyond the maximum shows a full bar.
  QProgressBar* bar = StatusBar->ProgressBar1;
  bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void TMainForm::SetStatusText(int panel, const QString& text) {
  StatusBar->SetPanelText(panel, text);
}

void TMainForm::RefreshChannelPage(int channel) {
  if (ChannelPage* page = Page(channel)) page->RefreshChannelPage();
}
void TMainForm::RefreshThreePhasePage() {
  SeCustomTabSheet4->RefreshThreePhasePage();
}
void TMainForm::RefreshHarmonicGrid() {
  ::RefreshHarmonicGrid(*SeCustomTabSheet5->StringGrid2, MeasurementData.Set);
}
void TMainForm::WireSampling() {
  ConnectHandler(SeSkinSpeedButton7, &QToolButton::clicked, this,
                 [this] { Sampling->SeSkinSpeedButton7Click(); });
  ConnectHandler(N12, &QAction::triggered, this, [this] { Sampling->SeSkinSpeedButton7Click(); });
  ConnectHandler(SeSkinButton4, &QToolButton::clicked, this,
                 [this] { Sampling->SeSkinButton4Click(); });
  ConnectHandler(N13, &QAction::triggered, this, [this] { Sampling->SeSkinButton4Click(); });
  ConnectHandler(SeSkinSpeedButton9, &QToolButton::clicked, this,
                 [this] { Sampling->SeSkinSpeedButton9Click(); });
  ConnectHandler(N14, &QAction::triggered, this, [this] { Sampling->SeSkinSpeedButton9Click(); });
  ConnectHandler(C1, &QAction::triggered, this, [this] { C1Click(); });
  ConnectHandler(Style1, &QAction::triggered, this, [this] {
    if (windows_.skin) windows_.skin->exec();
  });
  ConnectHandler(N11, &QAction::triggered, this, [this] { Sampling->N11Click(); });
  ConnectHandler(N33, &QAction::triggered, this, [this] { Sampling->N33Click(); });
  ConnectHandler(LinkMonitor1, &QAction::triggered, this, [this] {
    if (windows_.linkMonitor) {
      windows_.linkMonitor->show();
      windows_.linkMonitor->raise();
    }
  });
  ConnectHandler(N10, &QAction::triggered, this, [this] {
    if (windows_.calibrate) windows_.calibrate->show();
  });
}

void TMainForm::closeEvent(QCloseEvent* event) {
  RunHandler([this] { Sampling->FormCloseQuery(); });
  QMainWindow::closeEvent(event);
}

void TMainForm::C1Click() {
  if (windows_.comm) windows_.comm->exec();
}

void TMainForm::SetControlEnabled(SamplingControlId control, bool enabled) {
  switch (control) {
    case SamplingControlId::SeSkinSpeedButton7:
      SeSkinSpeedButton7->setEnabled(enabled);
      break;
    case SamplingControlId::SeSkinButton4:
      SeSkinButton4->setEnabled(enabled);
      break;
    case SamplingControlId::SeSkinSpeedButton9:
      SeSkinSpeedButton9->setEnabled(enabled);
      break;
    case SamplingControlId::N12:
      N12->setEnabled(enabled);
      break;
    case SamplingControlId::N13:
      N13->setEnabled(enabled);
      break;
    case SamplingControlId::N14:
      N14->setEnabled(enabled);
      break;
    case SamplingControlId::C1:
      C1->setEnabled(enabled);
      break;
    case SamplingControlId::N11:
      N11->setEnabled(enabled);
      break;
    case SamplingControlId::N33:
      N33->setEnabled(enabled);
      break;
  }
}

void TMainForm::StartContinuousSampling() {
  if (SeSkinButton4->isEnabled()) Sampling->SeSkinButton4Click();
}
