#include "sim/SimOptions.h"

#include <charconv>

#include "sim/FaultPlan.h"
#include "sim/PtyLink.h"
#include "sim/Scenario.h"

namespace {

constexpr int kDefaultBaud = 14400;

template <typename T>
T Number(const std::string& option, const std::string& text, T low, T high) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    throw UsageError(option + " expects a number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not \"" + text + "\"");
  return value;
}

}  // namespace

double SimOptions::BytesPerSecond(bool reading, int lineBaud) const {
  if (!reading && !paceAll) return 0;
  int rate = baud > 0 ? baud : (usb ? 0 : kDefaultBaud);
  if (baud == kAutoBaud) rate = lineBaud > 0 ? lineBaud : kDefaultBaud;
  return rate > 0 ? static_cast<double>(rate) / byteBits : 0;
}

SimOptions ParseSimOptions(const std::vector<std::string>& arguments) {
  SimOptions o;
  for (size_t k = 0; k < arguments.size(); ++k) {
    const std::string& option = arguments[k];
    auto value = [&]() -> const std::string& {
      if (k + 1 >= arguments.size()) throw UsageError(option + " needs a value");
      return arguments[++k];
    };
    if (option == "--link") {
      o.link = value();
    } else if (option == "--address") {
      o.address = static_cast<uint8_t>(Number<int>(option, value(), 1, 255));
    } else if (option == "--usb") {
      o.usb = true;
    } else if (option == "--baud") {
      const std::string& text = value();
      o.baud = text == "auto" ? kAutoBaud : Number<int>(option, text, 300, 4000000);
    } else if (option == "--byte-bits") {
      o.byteBits = Number<int>(option, value(), 8, 12);
    } else if (option == "--pace-all") {
      o.paceAll = true;
    } else if (option == "--scenario") {
      o.scenario = value();
      if (FindScenario(o.scenario) == nullptr)
        throw UsageError("no scenario \"" + o.scenario + "\" (see --list-scenarios)");
    } else if (option == "--seed") {
      o.seed = Number<uint64_t>(option, value(), 0, UINT64_MAX);
      o.seedGiven = true;
    } else if (option == "--faults") {
      o.faults = value();
      try {
        ParseFaults(o.faults);
      } catch (const FaultSyntaxError& e) {
        throw UsageError(e.what());
      }
    } else if (option == "--log") {
      o.logPath = value();
    } else if (option == "--list-scenarios") {
      o.listScenarios = true;
    } else if (option == "--help" || option == "-h") {
      o.help = true;
    } else {
      throw UsageError("unknown option \"" + option + "\"");
    }
  }
  if (o.help || o.listScenarios) return o;
  if (o.link.empty()) throw UsageError("--link PATH is required");
  if (o.usb && PortNumberFromLinkName(o.link) == 0)
    throw UsageError("--usb needs a link named COM<n> (1 to 255), such as ports/COM7");
  return o;
}

std::string SimUsage() {
  std::string text =
      "usage: rxm5620-sim --link PATH [options]\n"
      "A simulated RXM5620 power analyzer on a pseudo-terminal.\n"
      "\n"
      "  --link PATH        make PATH (e.g. ports/COM2) a link to the instrument's port\n"
      "  --address N        slave address, 1 to 255 (default 2)\n"
      "  --usb              be the instrument's USB port: write PATH.pnp, answer at once\n"
      "  --baud B|auto      line rate for pacing the reading (default 14400; with --usb\n"
      "                     none unless given); auto: the speed the application set\n"
      "  --byte-bits N      bit times a byte takes on the line, 8 to 12 (default 8)\n"
      "  --pace-all         pace every answer, not only the reading\n"
      "  --scenario NAME    the system measured (default balanced)\n"
      "  --seed N           makes every reading reproducible (default: random, printed)\n"
      "  --faults LIST      faults, comma-separated:\n"
      "                       drop=N  crc=N  truncate=N     every N-th answer\n"
      "                       nan=FIELD[@CH][+FIELD...][/N] NaN in every (N-th) reading\n"
      "                       delay=DURATION[/N]            answer late\n"
      "                       silent=PERIOD:LENGTH          no answers for LENGTH every PERIOD\n"
      "                       vanish=PERIOD:LENGTH          unplug for LENGTH every PERIOD\n"
      "  --log FILE         one line per frame received and sent, in hex\n"
      "  --list-scenarios   list the scenarios and exit\n";
  return text;
}
