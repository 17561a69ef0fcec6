#include "display/ConfigBlocks.h"

AlarmBlockData AlarmBlock{};
InstrumentSetupData InstrumentSetup{};
