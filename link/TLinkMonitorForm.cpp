#include "link/TLinkMonitorForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

QString CountersText(const LinkCounters& c) {
  const QString trip =
      c.LastRoundTripMs < 0
          ? QString("–")
          : QString("%1 ms (mean %2 ms)").arg(c.LastRoundTripMs).arg(c.MeanRoundTripMs, 0, 'f', 1);
  return QString(
             "Requests %1   Answers %2   CRC errors %3   Lost answers %4   Short or malformed %5"
             "\nBytes out %6   Bytes in %7   Round trip %8")
      .arg(c.Requests)
      .arg(c.Answers)
      .arg(c.CrcErrors)
      .arg(c.Retries)
      .arg(c.Malformed)
      .arg(c.BytesOut)
      .arg(c.BytesIn)
      .arg(trip);
}

TLinkMonitorForm::TLinkMonitorForm(LinkLog& log, QWidget* parent) : QDialog(parent), log_(log) {
  setObjectName("TLinkMonitorForm");
  setWindowTitle("Link monitor");
  setModal(false);
  resize(900, 520);
  CountersLabel = new QLabel(this);
  FilterBox = new QComboBox(this);
  FilterBox->addItems({"All frames", "Errors only"});
  PauseBox = new QCheckBox("Pause", this);
  ClearButton = new QPushButton("Clear", this);
  SaveButton = new QPushButton("Save log…", this);
  Frames = new LinkFrameModel(log_, this);
  FrameView = new QTableView(this);
  FrameView->setModel(Frames);
  FrameView->verticalHeader()->hide();
  FrameView->verticalHeader()->setDefaultSectionSize(18);
  FrameView->horizontalHeader()->setStretchLastSection(true);
  FrameView->setColumnWidth(LinkFrameModel::Time, 80);
  FrameView->setColumnWidth(LinkFrameModel::Direction, 30);
  FrameView->setColumnWidth(LinkFrameModel::Bytes, 330);
  FrameView->setSelectionBehavior(QAbstractItemView::SelectRows);

  auto* tools = new QHBoxLayout;
  tools->addWidget(FilterBox);
  tools->addWidget(PauseBox);
  tools->addStretch(1);
  tools->addWidget(ClearButton);
  tools->addWidget(SaveButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CountersLabel);
  layout->addLayout(tools);
  layout->addWidget(FrameView, 1);

  UpdateTimer = new QTimer(this);
  UpdateTimer->setInterval(100);
  connect(UpdateTimer, &QTimer::timeout, this, [this] {
    if (!PauseBox->isChecked()) UpdateView();
  });
  connect(FilterBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    Frames->SetErrorsOnly(index == 1);
    UpdateView();
  });
  connect(ClearButton, &QPushButton::clicked, this, [this] {
    log_.Clear();
    UpdateView();
  });
  connect(SaveButton, &QPushButton::clicked, this,
          [this] { RunHandler([this] { SaveLogClick(); }); });
  SaveDialog.FileName = "link.log";
  SaveDialog.Filter = "Link log(.log)|*.log|AllFile|*.*";
  UpdateView();
}

void TLinkMonitorForm::UpdateView() {
  CountersLabel->setText(CountersText(log_.Counters()));
  const bool atEnd =
      FrameView->verticalScrollBar()->value() == FrameView->verticalScrollBar()->maximum();
  if (Frames->Refresh() && atEnd) FrameView->scrollToBottom();
}

void TLinkMonitorForm::SaveLogClick() {
  if (!SaveDialog.Execute(this)) return;
  QByteArray text;
  for (size_t i = 0; i < log_.Size(); ++i) text += FrameLine(log_.At(i)).toUtf8() + '\n';
  WriteFileAtomically(SaveDialog.FileName, text);
}

void TLinkMonitorForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  UpdateView();
  UpdateTimer->start();
}

void TLinkMonitorForm::hideEvent(QHideEvent* event) {
  UpdateTimer->stop();
  QDialog::hideEvent(event);
}
