// The dispatcher fed arbitrary answers under every request it routes by: the first byte of
// the input chooses the pending request, the rest arrives as the answer.
#include <cstring>

#include "display/ConfigBlocks.h"
#include "display/MeasurementModel.h"
#include "link/Dispatcher.h"
#include "link/Frames.h"
#include "link/LinkState.h"
#include "platform/Sleep.h"
#include "support/FakeLinkPort.h"
#include "support/FakeLinkView.h"

namespace {

struct Key {
  uint8_t function;
  uint16_t reg;
};
const Key kKeys[] = {{0x03, 1},   {0x03, 28},  {0x03, 41},  {0x03, 45},  {0x03, 815}, {0x03, 816},
                     {0x03, 829}, {0x03, 830}, {0x03, 843}, {0x03, 844}, {0x10, 1},   {0x10, 28},
                     {0x10, 30},  {0x10, 801}, {0x10, 814}, {0x03, 44},  {0x03, 999}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool once = [] {
    SetSleepFunction([](uint32_t) {});
    return true;
  }();
  (void)once;
  if (size < 2) return 0;
  const Key& key = kKeys[data[0] % std::size(kKeys)];
  ResetLinkState();
  FakeLinkPort port;
  SetLinkPort(&port);
  UsbMode = data[1] & 1;
  SamplingMode = (data[1] >> 1) % 3;
  LastReadRegister = key.reg;
  LastReadCount = 2;
  PendingRequest[0] = 2;
  PendingRequest[1] = key.function;
  PendingRequest[2] = static_cast<uint8_t>(key.reg >> 8);
  PendingRequest[3] = static_cast<uint8_t>(key.reg);
  port.input.assign(data + 2, data + size);
  FakeLinkView view;
  Comm1ReceiveData(port, view);
  SetLinkPort(nullptr);
  return 0;
}
