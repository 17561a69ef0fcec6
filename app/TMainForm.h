#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "app/MainStatusBar.h"
#include "app/SkinEngine.h"
#include "app/WindowRouter.h"
#include "display/ChannelPage.h"
#include "display/HarmonicReportPage.h"
#include "display/PageLayout.h"
#include "display/ThreePhaseHost.h"
#include "display/ThreePhasePage.h"
#include "link/SamplingControl.h"
#include "link/SamplingView.h"
#include "link/TComm.h"
#include "platform/FileDialog.h"

class Tskin;
class TVForm;
class TCommForm;
class TPrinterForm;
class TEnterInfoForm;
class TRecordForm;
class TRecSetForm;
class TCalibrateForm;
class TAlarmForm;
class TInputNetSet;
class TLinkMonitorForm;

// The main window: the five pages of the reading, menus, tool bar and status bar. What the
// link asks of the windows goes through its WindowRouter.
class TMainForm : public QMainWindow, public ThreePhaseHost {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The windows created after this one; start-up hands them over once they exist.
  struct Windows {
    Tskin* skin = nullptr;
    TVForm* version = nullptr;
    TCommForm* comm = nullptr;
    TPrinterForm* printer = nullptr;
    TEnterInfoForm* enterInfo = nullptr;
    TRecordForm* record = nullptr;
    TRecSetForm* recSet = nullptr;
    TCalibrateForm* calibrate = nullptr;
    TAlarmForm* alarm = nullptr;
    TInputNetSet* inputNetSet = nullptr;
    TLinkMonitorForm* linkMonitor = nullptr;
  };
  void SetWindows(const Windows& windows);
  const Windows& OtherWindows() const { return windows_; }

  // The creation handler: clears the reading, applies the display settings, lays out the
  // pages and handles the command line (`arguments` as the system gives them).
  void FormCreate(const QStringList& arguments);

  // Handlers.
  void SeSkinSpeedButton1Click();  // Open
  void SeSkinSpeedButton2Click();  // Save
  void SeSkinSpeedButton3Click();  // Print
  void SeSkinSpeedButton5Click();  // Record window
  void MOpenTimerTimer();
  void RefreshAllPages();

  // Look and plot colours, set by the style window and at start-up.
  void ApplySkin(int code);
  void SetPlotBackground(const QColor& colour);
  void SetPlotGrid(const QColor& colour);
  SkinEngine& Skin() { return skin_; }
  QColor PlotBackground() const;
  QColor PlotGrid() const;

  // Places every control of the pages for the current page size.
  void LayoutPages();

  // The main window's side of the link: the progress bar, the status bar, the pages and
  // the sampling controls.
  void ShowProgressBar(int position);
  void SetProgressPosition(int position);
  void SetStatusText(int panel, const QString& text);
  void RefreshChannelPage(int channel);
  void RefreshThreePhasePage();
  void RefreshHarmonicGrid();
  void SetControlEnabled(SamplingControlId control, bool enabled);
  WindowRouter& Router() { return *router_; }

  // ThreePhaseHost.
  bool IsPageVisible(int page) const override;
  void SetPageVisible(int page, bool visible) override;
  void SelectPage(int page) override;

  void C1Click();  // Communication
  // Continuous Sampling, as its button does, when the button is enabled.
  void StartContinuousSampling();

  // Single and continuous readings, with their two timers.
  SamplingControl* Sampling;

  // The serial port of the instrument; its receive event is the dispatcher.
  TComm* Comm1;

  // Menus: "File(&F)", "Options (&O)", "Run (&P)", "Help(&H)".
  QMenu* File1;
  QAction* Open1;
  QAction* Save1;
  QAction* N5;  // Print
  QAction* Close1;
  QMenu* Options1;
  QAction* C1;  // Communication
  QAction* Style1;
  QAction* N11;           // Alarm
  QAction* N9;            // separator before the calibration entry, not visible
  QAction* N10;           // calibration, not visible
  QAction* N33;           // Instrument Settings
  QAction* LinkMonitor1;  // "Link monitor", beyond the instrument's own menus
  QMenu* Run1;
  QAction* N12;  // Single Sampling
  QAction* N13;  // Continuous Sampling
  QAction* N14;  // Stop
  QAction* Record1;
  QMenu* Help1;
  QAction* Version1;
  QAction* Website1;
  QAction* Manual1;

  QToolBar* ToolBar1;
  QToolButton* SeSkinSpeedButton1;  // Open
  QToolButton* SeSkinSpeedButton2;  // Save
  QToolButton* SeSkinSpeedButton3;  // Print
  QToolButton* SeSkinSpeedButton5;  // Record
  QToolButton* SeSkinSpeedButton7;  // Single Sampling
  QToolButton* SeSkinButton4;       // Continuous Sampling
  QToolButton* SeSkinSpeedButton9;  // Stop

  QTabWidget* PageControl1;
  ChannelPage* SeCustomTabSheet1;         // " Channel 1 "
  ChannelPage* SeCustomTabSheet2;         // " Channel 2 "
  ChannelPage* SeCustomTabSheet3;         // " Channel 3 "
  ThreePhasePage* SeCustomTabSheet4;      // "Three-phase Analysis"
  HarmonicReportPage* SeCustomTabSheet5;  // " Harmonic Report "

  MainStatusBar* StatusBar;
  QTimer* MOpenTimer;
  FileDialog SaveDialog1{FileDialog::Save};
  FileDialog OpenDialog1{FileDialog::Open};

 private:
  void CreateMenus();
  void CreateToolBar();
  void CreatePages();
  void WireSampling();
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  ChannelPage* Page(int channel) const;
  // Opens a measurement file into the reading and refreshes every page.
  void OpenMeasurementFile(const QString& path);

  std::unique_ptr<WindowRouter> router_;
  Windows windows_;
  SkinEngine skin_;
  QWidget* pageArea_ = nullptr;  // the tab widget's page stack
  QSize laidOutSize_;            // the page size of the last layout
};
