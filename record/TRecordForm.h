#pragma once

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <functional>

#include "platform/FileDialog.h"
#include "record/RecordChart.h"
#include "record/RecordState.h"

class TRecSetForm;

// The record window: takes six quantities of the data model at every sampling step into
// the recording buffers, saves them to the record file at every save interval, opens a
// record file again, and shows either recording as the record chart.
class TRecordForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRecordForm(QWidget* parent = nullptr, RecordState& state = Recording);

  // Creation: buffers, marker pictures, the record settings of SysSet.ini, the labels.
  void FormCreate();
  void SetSettingsWindow(TRecSetForm* form) { settings_ = form; }
  // The Print button: what the main window wires.
  std::function<void()> onPrint;

  // Handlers.
  void NewClick();
  void StartClick();
  void StopClick();
  void OpenClick();
  void SettingClick();
  void ExportClick();     // "Export EXCEL File"
  void Timer1Timer();     // sampling step
  void TimerSaveTimer();  // save interval
  void GridTimerTimer();
  void OpenTimerTimer();  // opens CommandLineFile
  // Opens `path` into the opened recording and shows it (Open steps 2 to 6).
  void OpenRecordFile(const QString& path);

  // What the record settings window applies.
  void SetSaveInterval(int ms, const QString& text);
  void SetStepInterval(int ms, const QString& text);
  void SetSelection(const int (&selection)[kRecordChannels]);
  void CaptionChannels(const int (&parameters)[kRecordChannels]);

  // Chart controls.
  void ForwardExpansion();
  void BackwardCompression();
  void MoveRight();
  void MoveLeft();
  void ScrollBarChange(int position);
  void TrackBarChange(int position);
  void RangeButtonClick();
  void ViewModeClick();
  void EnlargeClick(int channel);
  void ReduceClick(int channel);
  void ShowHideClick(int channel);
  void MouseReadout(int x);
  // Draws the chart and the scale strip of the view shown and copies them to the screen.
  void RedrawChart();

  RecordState& State() { return state_; }
  RecordChartState& Chart() { return chart_; }
  // The recording the chart shows now.
  ChartData CurrentData() const;
  QString StatusText(int panel) const;

  // Menus.
  QAction *Open1, *New1, *Print1, *Export1, *Exit1, *Setting1;
  QAction *ForwardExpansion1, *BackwardCompression1, *MoveRight1, *MoveLeft1;
  QAction *Starting1, *Stop1;
  // Tool bar.
  QToolButton *SeSkinSpeedButton1, *SeSkinSpeedButton12, *SeSkinSpeedButton3, *SeSkinSpeedButton4,
      *SeSkinSpeedButton5, *SeSkinSpeedButton6, *SeSkinSpeedButton11, *SeSkinSpeedButton9,
      *SeSkinSpeedButton10, *SeSkinSpeedButton7, *SeSkinSpeedButton8;
  // Chart.
  QGroupBox* WaveGroup;
  QWidget* Panel2;
  QWidget* MarkerStrip;
  std::array<QLabel*, kRecordChannels> Images{};  // Image1 to Image6
  QWidget* Pic4;
  QWidget* Pic5;
  QScrollBar* SeSkinScrollBar1;
  QPushButton* SeSkinButton19;
  QSlider* TrackBar1;
  // Record point parameters.
  QGroupBox* PointGroup;
  QLabel *TimeCaption, *DateLabel, *TimeLabel;
  std::array<QLabel*, kRecordChannels> Tags{};         // "ReA" …
  std::array<QLabel*, kRecordChannels> Names{};        // Label7 to Label12
  std::array<QLabel*, kRecordChannels> ValueLabels{};  // "Value："
  std::array<QPushButton*, kRecordChannels> EnlargeButtons{}, ReduceButtons{}, ShowButtons{};
  QStatusBar* StatusBar1;
  std::array<QLabel*, 7> Panels{};
  QTimer *Timer1, *TimerSave, *GridTimer, *ScrollBar1ChangeTimer, *OpenTimer;
  FileDialog SaveDialog1{FileDialog::Save};
  FileDialog OpenDialog1{FileDialog::Open};
  FileDialog SaveDialog2{FileDialog::Save};  // the export

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateMenus(QMenuBar* bar);
  void CreateToolBar(QWidget* bar);
  void CreateChart();
  void CreatePointPanel();
  void PlaceChart();
  void SetViewModePicture(bool recordMode);
  int CurrentCount() const;
  void SetScrollFromOffset();
  void SetStatus(int panel, const QString& text) { Panels[panel]->setText(text); }

  RecordState& state_;
  RecordChartState chart_;
  TRecSetForm* settings_ = nullptr;
  QImage chartImage_;  // 2400 × 1600, every drawing goes here first
  QImage stripImage_;
  int mouseX_ = -1;
  bool saveErrorShown_ = false;
};
