#include "platform/PortInventory.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/PtyPair.h"

namespace {

void WriteText(const QString& path, const QByteArray& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

TEST(PortInventory, ListsPortDirectoryEntriesWithTheirDeclaredIdentity) {
  QTemporaryDir dir;
  qputenv("RXM5620_PORT_DIR", dir.path().toLocal8Bit());
  PtyPair plain;
  PtyPair usb;
  ASSERT_TRUE(QFile::link(QString::fromStdString(plain.SlavePath()), dir.filePath("COM3")));
  ASSERT_TRUE(QFile::link(QString::fromStdString(usb.SlavePath()), dir.filePath("COM12")));
  ASSERT_TRUE(QFile::link("/nonexistent/tty", dir.filePath("COM9")));  // unplugged
  WriteText(dir.filePath("COM12.pnp"),
            "PNPDeviceID=USB\\VID_0483&PID_5733\\X1\nName=RXM5620 Virtual COM Port (COM12)\n");

  const std::vector<SerialPortIdentity> ports = QuerySerialPorts();
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_EQ(ports[0].PNPDeviceID, "SERIAL\\COM3");
  EXPECT_EQ(ports[0].Name, "Communications Port (COM3)");
  EXPECT_EQ(ports[1].PNPDeviceID, "USB\\VID_0483&PID_5733\\X1");
  EXPECT_EQ(ports[1].Name, "RXM5620 Virtual COM Port (COM12)");
  qunsetenv("RXM5620_PORT_DIR");
}

// A sysfs tree as the kernel lays it out for a USB serial adapter.
TEST(PortInventory, UsbIdentityIsReadFromSysfs) {
  QTemporaryDir root;
  const QString device = root.filePath("devices/pci0000:00/usb1/1-2");
  const QString interface = device + "/1-2:1.0";
  ASSERT_TRUE(QDir().mkpath(interface + "/tty/ttyACM0"));
  ASSERT_TRUE(QDir().mkpath(root.filePath("class/tty/ttyACM0")));
  ASSERT_TRUE(QFile::link(interface, root.filePath("class/tty/ttyACM0/device")));
  WriteText(device + "/idVendor", "0483\n");
  WriteText(device + "/idProduct", "5733\n");
  WriteText(device + "/serial", "00A1\n");
  WriteText(device + "/product", "RXM5620\n");

  SerialPortIdentity identity;
  ASSERT_TRUE(UsbIdentityFromSysfs(QDir(root.path()).canonicalPath(), "ttyACM0", identity, 65));
  EXPECT_EQ(identity.PNPDeviceID, "USB\\VID_0483&PID_5733\\00A1");
  EXPECT_EQ(identity.Name, "RXM5620 (COM65)");
  EXPECT_FALSE(UsbIdentityFromSysfs(QDir(root.path()).canonicalPath(), "ttyS0", identity, 1));
}

}  // namespace
