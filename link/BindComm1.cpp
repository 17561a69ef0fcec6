#include "link/BindComm1.h"

#include "link/Dispatcher.h"
#include "link/LinkPort.h"
#include "link/TComm.h"

void BindComm1(TComm& comm, LinkView& view) {
  comm.SetCommPort(pnCOM2);
  comm.SetBaudRate(br9600);
  comm.SetDataBits(DB8);
  comm.SetParity(TParity::None);
  comm.SetStopBits(SB1);
  comm.SetHwHandShaking(hhNone);
  comm.SetSwHandShaking(shNone);
  comm.SetInputLen(0);
  comm.SetRThreshold(1);
  comm.OnReceiveData = [&view](TComm* sender) { Comm1ReceiveData(*sender, view); };
  SetLinkPort(&comm);
}
