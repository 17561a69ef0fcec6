#pragma once
// Sets up the main window's port Comm1 as the main window stores it (COM2, 9600 baud,
// 8 data bits, no parity, one stop bit, no handshaking, whole reads, receive event at
// one queued byte), binds its receive event to the dispatcher, and makes it the port
// every request goes out through. The communication settings then choose port and speed.

class TComm;
class LinkView;

void BindComm1(TComm& comm, LinkView& view);
