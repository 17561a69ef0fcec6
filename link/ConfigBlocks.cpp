#include "link/ConfigBlocks.h"

AlarmBlockData AlarmBlock{};
InstrumentSetupData InstrumentSetup{};
