#pragma once
// The simulated instrument's port: a pseudo-terminal presented through a symbolic link
// (ports/COM2 -> /dev/pts/7), and for the USB port an identity file beside the link
// (ports/COM2.pnp) that the application's port scan reads as the Plug and Play identity.

#include <string>
#include <string_view>

class PtyLink {
 public:
  // `usbPort` above 0 writes the identity file naming COM<usbPort>.
  PtyLink(std::string linkPath, int usbPort);
  ~PtyLink();
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  // Creates the pseudo-terminal, the link and the identity file; throws
  // std::runtime_error with the reason when it cannot.
  void Open();
  // Removes the link and the identity file and closes the pseudo-terminal, as an unplug.
  void Close();
  bool IsOpen() const { return master_ >= 0; }
  // The speed in bit/s the application set on the port; 0 when closed.
  int LineSpeed() const;
  // Discards what the instrument sent and nobody has read.
  void DiscardUnread();

  int MasterFd() const { return master_; }
  const std::string& Device() const { return device_; }
  const std::string& LinkPath() const { return linkPath_; }
  std::string IdentityPath() const { return linkPath_ + ".pnp"; }

 private:
  std::string linkPath_;
  int usbPort_;
  int master_ = -1;
  int slave_ = -1;  // held open so that the line stays up while the application reopens it
  std::string device_;
};

// n for a link named COM<n> (1 to 255), otherwise 0.
int PortNumberFromLinkName(std::string_view path);

// The two lines of the identity file of the instrument's USB port COM<port>.
std::string UsbIdentityText(int port);
