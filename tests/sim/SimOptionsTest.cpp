#include "sim/SimOptions.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(SimOptions, DefaultsAndPacing) {
  const SimOptions plain = ParseSimOptions({"--link", "ports/COM2"});
  EXPECT_EQ(plain.address, 2);
  EXPECT_EQ(plain.scenario, "balanced");
  EXPECT_FALSE(plain.seedGiven);
  EXPECT_DOUBLE_EQ(plain.BytesPerSecond(true), 14400.0 / 8);
  EXPECT_DOUBLE_EQ(plain.BytesPerSecond(false), 0);  // short answers go at once

  const SimOptions usb = ParseSimOptions({"--link", "ports/COM7", "--usb"});
  EXPECT_DOUBLE_EQ(usb.BytesPerSecond(true), 0);

  const SimOptions strict = ParseSimOptions(
      {"--link", "p/COM1", "--baud", "9600", "--byte-bits", "10", "--pace-all", "--seed", "9"});
  EXPECT_DOUBLE_EQ(strict.BytesPerSecond(true), 960);
  EXPECT_DOUBLE_EQ(strict.BytesPerSecond(false), 960);
  EXPECT_TRUE(strict.seedGiven);

  const SimOptions follow = ParseSimOptions({"--link", "p/COM1", "--baud", "auto"});
  EXPECT_DOUBLE_EQ(follow.BytesPerSecond(true, 115200), 14400);
  EXPECT_DOUBLE_EQ(follow.BytesPerSecond(true, 0), 1800);  // nothing set: the default
  EXPECT_EQ(strict.seed, 9u);
}

TEST(SimOptions, RejectsBadCommandLines) {
  const Args bad[] = {
      {},
      {"--link"},
      {"--link", "p/COM2", "--address", "0"},
      {"--link", "p/COM2", "--address", "256"},
      {"--link", "p/COM2", "--baud", "fast"},
      {"--link", "p/COM2", "--scenario", "lunar"},
      {"--link", "p/COM2", "--faults", "drop=0"},
      {"--link", "p/sim", "--usb"},  // the port number comes from the link's name
      {"--link", "p/COM2", "--verbose"},
  };
  for (const Args& args : bad) EXPECT_THROW(ParseSimOptions(args), UsageError);
  EXPECT_TRUE(ParseSimOptions({"--help"}).help);
}

}  // namespace
