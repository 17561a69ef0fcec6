#include "config/ConfigStatus.h"

StatusPanel::StatusPanel(QWidget* parent) : QStatusBar(parent), label_(new QLabel(this)) {
  setSizeGripEnabled(false);
  addWidget(label_, 1);
}

AcknowledgeWait::AcknowledgeWait(std::function<void()> onTimeout, QObject* parent)
    : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setInterval(kAcknowledgeTimeoutMs);
  connect(&timer_, &QTimer::timeout, this, [onTimeout = std::move(onTimeout)] { onTimeout(); });
}

void AcknowledgeWait::Arm() {
  timer_.start();
}
