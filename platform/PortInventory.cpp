#include "platform/PortInventory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "platform/PortDirectory.h"

namespace {

QString ReadLine(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readLine()).trimmed();
}

// The identity a port-directory entry declares in its .pnp file, if any.
bool DeclaredIdentity(int portNumber, SerialPortIdentity& identity) {
  QFile file(QString::fromStdString(PortDirectory()) + QString("/COM%1.pnp").arg(portNumber));
  if (!file.open(QIODevice::ReadOnly)) return false;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine();
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) continue;
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (key.compare("PNPDeviceID", Qt::CaseInsensitive) == 0) identity.PNPDeviceID = value;
    if (key.compare("Name", Qt::CaseInsensitive) == 0) identity.Name = value;
  }
  return !identity.PNPDeviceID.isEmpty();
}

}  // namespace

bool UsbIdentityFromSysfs(const QString& sysfsRoot, const QString& ttyName,
                          SerialPortIdentity& identity, int portNumber) {
  // /sys/class/tty/<tty>/device is the USB interface; its parents lead to the USB device,
  // the first folder that holds idVendor and idProduct.
  QString dir = QFileInfo(sysfsRoot + "/class/tty/" + ttyName + "/device").canonicalFilePath();
  for (int depth = 0; depth < 6 && !dir.isEmpty() && dir.startsWith(sysfsRoot); ++depth) {
    const QString vendor = ReadLine(dir + "/idVendor");
    const QString product = ReadLine(dir + "/idProduct");
    if (!vendor.isEmpty() && !product.isEmpty()) {
      QString serial = ReadLine(dir + "/serial");
      if (serial.isEmpty()) serial = ttyName;
      QString productName = ReadLine(dir + "/product");
      if (productName.isEmpty()) productName = "USB Serial Device";
      identity.PNPDeviceID =
          QString("USB\\VID_%1&PID_%2\\%3").arg(vendor.toUpper(), product.toUpper(), serial);
      identity.Name = QString("%1 (COM%2)").arg(productName).arg(portNumber);
      return true;
    }
    dir = QFileInfo(dir).path();
  }
  return false;
}

std::vector<SerialPortIdentity> QuerySerialPorts() {
  std::vector<SerialPortIdentity> ports;
  for (int n = kMinPortNumber; n <= kMaxPortNumber; ++n) {
    const std::string device = PortDevicePath(n);
    if (device.empty()) continue;
    const QFileInfo info(QString::fromStdString(device));
    if (!info.exists()) continue;  // a dangling link: the device is gone
    SerialPortIdentity identity;
    if (!DeclaredIdentity(n, identity)) {
      const QString tty = QFileInfo(info.canonicalFilePath()).fileName();
      if (!UsbIdentityFromSysfs("/sys", tty, identity, n)) {
        identity.PNPDeviceID = QString("SERIAL\\COM%1").arg(n);
        identity.Name = QString("Communications Port (COM%1)").arg(n);
      }
    }
    ports.push_back(identity);
  }
  return ports;
}
