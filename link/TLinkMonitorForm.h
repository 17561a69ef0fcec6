#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "link/LinkFrameModel.h"
#include "platform/FileDialog.h"

// The link monitor: the link's counters and its frames as they come, with a filter for the
// errors, pause, clear and "Save log…". Not modal; it looks at the log at most ten times a
// second and only while shown.
class TLinkMonitorForm : public QDialog {
  Q_OBJECT
 public:
  explicit TLinkMonitorForm(LinkLog& log, QWidget* parent = nullptr);

  // Takes the log's frames and counters anew (the update timer's work).
  void UpdateView();
  void SaveLogClick();

  QLabel* CountersLabel;
  QComboBox* FilterBox;  // "All frames", "Errors only"
  QCheckBox* PauseBox;
  QPushButton* ClearButton;
  QPushButton* SaveButton;
  QTableView* FrameView;
  LinkFrameModel* Frames;
  QTimer* UpdateTimer;
  FileDialog SaveDialog{FileDialog::Save};

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  LinkLog& log_;
};

// The counters as the monitor's first line shows them.
QString CountersText(const LinkCounters& c);
