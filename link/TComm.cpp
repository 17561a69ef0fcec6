#include "link/TComm.h"

#include "link/LinkLog.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

#include "platform/MessageBox.h"
#include "platform/SerialPort.h"

const char* const kCommOpenFailedText = "通讯出现异常！请检查连接是否正确或重新启动程序和仪器。";
const char* const kCommBufferFailedText = "Cannot setup comm buffer";

namespace {
constexpr int kPollIntervalMs = 100;

void TrackLine(bool& holding, bool now, uint32_t flag, uint32_t& event) {
  if (holding != now) event |= flag;
  holding = now;
}
}  // namespace

uint32_t TrackModemLines(SerialModemStatus& held, const SerialModemStatus& now) {
  uint32_t event = 0;
  TrackLine(held.carrierDetect, now.carrierDetect, kEventCarrierDetect, event);
  TrackLine(held.dsr, now.dsr, kEventDsr, event);
  TrackLine(held.ring, now.ring, kEventRing, event);
  TrackLine(held.cts, now.cts, kEventCts, event);
  return event;
}

uint32_t BaudRateValue(TBaudRate rate) {
  static constexpr uint32_t kRates[] = {110,   300,   600,   1200,  2400,  4800,   9600,  14400,
                                        19200, 38400, 56000, 57600, 76800, 115200, 230400};
  return rate < std::size(kRates) ? kRates[rate] : 9600;
}

TComm::TComm(QObject* owner) : QObject(owner) {
  pollTimer_.setInterval(kPollIntervalMs);
  // An error escaping an event ends that tick and is shown, as for any handler.
  connect(&pollTimer_, &QTimer::timeout, this, [this] { RunHandler([this] { PollTimer(); }); });
  pollTimer_.start();
}

TComm::~TComm() {
  pollTimer_.stop();
  ClosePort();
  if (CurrentLinkPort() == this) SetLinkPort(nullptr);
}

void TComm::SetPortOpen(bool open) {
  if (!open) {
    ClosePort();
  } else if (handle_) {
    ShowMessage("COM Port has been opened!");
  } else {
    OpenPort();
  }
}

void TComm::OpenPort() {
  std::unique_ptr<SerialPort> port = devicePath_.empty() ? SerialPort::Open(PortNumberOf(commPort_))
                                                         : SerialPort::OpenPath(devicePath_);
  if (!port) {
    // The box keeps its text; what the system said and how to mend it follows.
    const int error = errno;
    const QString reason = devicePath_.empty() ? OpenFailureReason(PortNumberOf(commPort_), error)
                                               : DeviceOpenFailureReason(devicePath_, error);
    QString text = QString::fromUtf8(kCommOpenFailedText);
    if (!reason.isEmpty()) text += "\r\r" + reason;
    throw ECommError(text);
  }
  if (!port->SetupQueues(driverQueueSize_, kCommBufferSize)) {
    port.reset();
    throw ECommError(kCommBufferFailedText);
  }
  handle_ = std::move(port);
  TheLinkLog().ResetCounters();  // the counts are those since the port was opened
  handle_->Purge(kPurgeInput | kPurgeOutput);
  ApplySettings();
  portOpen_ = true;
}

void TComm::ClosePort() {
  if (!handle_) return;
  handle_.reset();
  portOpen_ = false;
}

void TComm::ApplySettings() {
  if (!handle_) return;
  SerialLineSettings line;
  handle_->GetLineSettings(line);
  line.baudRate = BaudRateValue(baudRate_);
  line.parityCheck = parity_ != TParity::None;
  // DTR stays low; RTS, CTS and XON/XOFF only as the handshaking asks.
  line.dtr = SerialLineControl::Disable;
  line.rts = SerialLineControl::Disable;
  line.ctsFlow = false;
  line.xonXoffOutput = line.xonXoffInput = false;
  if (hwHandShaking_ == hhNoneRTSON) line.rts = SerialLineControl::Enable;
  if (hwHandShaking_ == hhRTSCTS) {
    line.rts = SerialLineControl::Handshake;
    line.ctsFlow = true;
  }
  if (swHandShaking_ == shXonXoff) line.xonXoffOutput = line.xonXoffInput = true;
  line.dataBits = static_cast<uint8_t>(5 + dataBits_);
  line.parity = static_cast<SerialParity>(parity_);
  line.stopBits = static_cast<SerialStopBits>(stopBits_);
  handle_->SetLineSettings(line);
}

void TComm::Reapply() {
  if (handle_) ApplySettings();
}

void TComm::SetBaudRate(TBaudRate rate) {
  if (rate == baudRate_) return;
  baudRate_ = rate;
  Reapply();
}
void TComm::SetHwHandShaking(THWHandShaking value) {
  if (value == hwHandShaking_) return;
  hwHandShaking_ = value;
  Reapply();
}
void TComm::SetSwHandShaking(TSWHandShaking value) {
  if (value == swHandShaking_) return;
  swHandShaking_ = value;
  Reapply();
}
void TComm::SetDataBits(TDataBits value) {
  if (value == dataBits_) return;
  dataBits_ = value;
  Reapply();
}
void TComm::SetParity(TParity value) {
  if (value == parity_) return;
  parity_ = value;
  Reapply();
}
void TComm::SetStopBits(TStopBits value) {
  if (value == stopBits_) return;
  stopBits_ = value;
  Reapply();
}

void TComm::SetDTREnabled(bool on) {
  if (!handle_) return;
  dtrEnabled_ = on;
  handle_->SetDtr(on);
}

void TComm::SetRTSEnabled(bool on) {
  if (!handle_) return;
  rtsEnabled_ = on;
  handle_->SetRts(on);
}

void TComm::ReadInput() {
  if (!handle_) return;
  uint32_t errors = 0;
  uint32_t queued = 0;
  handle_->ClearError(errors, queued);
  commError_ = errors;
  if (queued == 0) return;
  if (queued > kCommBufferSize) {
    handle_->Purge(kPurgeInput);
    return;
  }
  // A read never runs past the buffer, nor waits for bytes that are not there yet.
  const uint32_t wanted = std::min(inputLen_ != 0 ? inputLen_ : queued, kCommBufferSize);
  uint32_t read = 0;
  if (!handle_->Read(buffer_, wanted, read)) return;
  inputBytes_.assign(buffer_, buffer_ + read);
  const auto* text = reinterpret_cast<const char*>(buffer_);
  input_ = QByteArray(text, static_cast<qsizetype>(strnlen(text, read)));
}

QByteArray TComm::Input() {
  ReadInput();
  return input_;
}

std::span<const uint8_t> TComm::ReadInputBytes() {
  ReadInput();
  return inputBytes_;
}

bool TComm::WriteBytes(const uint8_t* data, uint32_t count) {
  if (!handle_) {
    ShowMessage("COM Port is not opened yet!");
    return false;
  }
  uint32_t written = 0;
  handle_->Write(data, count, written);
  return true;
}

uint32_t TComm::DataCount() const {
  return handle_ ? handle_->InputQueued() : 0;
}

void TComm::SetDataCount(uint32_t value) {
  if (value == 0 && handle_) handle_->Purge(kPurgeInput);
}

bool TComm::PortLost() const {
  return handle_ && handle_->Lost();
}

void TComm::PollTimer() {
  if (!handle_) return;
  uint32_t errors = 0;
  uint32_t queued = 0;
  handle_->ClearError(errors, queued);
  commError_ = errors;
  if (rThreshold_ > 0 && queued >= rThreshold_ && OnReceiveData) OnReceiveData(this);
  CheckModemState();
  QCoreApplication::processEvents();
  if (commEvent_ != 0) {
    if (OnModemStateChange) OnModemStateChange(this, commEvent_);
    QCoreApplication::processEvents();
  }
  if (commError_ != 0) {
    if (OnReceiveError) OnReceiveError(this, commError_);
    QCoreApplication::processEvents();
  }
}

void TComm::CheckModemState() {
  commEvent_ = 0;
  SerialModemStatus status;
  if (!handle_ || !handle_->GetModemStatus(status)) return;
  commEvent_ = TrackModemLines(held_, status);
}
