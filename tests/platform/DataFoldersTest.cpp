#include "platform/DataFolders.h"

#include <gtest/gtest.h>

namespace {

struct FolderCase {
  const char* name;
  FolderFacts facts;
  const char *data, *settings, *ports;
};

FolderFacts Facts(bool writable, bool dataHere, const char* configEnv = "",
                  const char* xdgConfig = "", const char* runtime = "", const char* portEnv = "") {
  FolderFacts f;
  f.executableDir = writable ? "/home/ann/rxm" : "/usr/bin";
  f.executableDirWritable = writable;
  f.dataNextToExecutable = dataHere;
  f.configDirEnv = configEnv;
  f.xdgConfigHome = xdgConfig;
  f.xdgRuntimeDir = runtime;
  f.portDirEnv = portEnv;
  f.home = "/home/ann";
  return f;
}

const FolderCase kCases[] = {
    {"a build folder or portable copy", Facts(true, true), "/home/ann/rxm", "/home/ann/rxm",
     "/home/ann/rxm/ports"},
    {"installed", Facts(false, false), "/usr/share/rxm5620", "/home/ann/.config/rxm5620",
     "/home/ann/.config/rxm5620/ports"},
    {"installed, with a runtime folder", Facts(false, false, "", "", "/run/user/1000"),
     "/usr/share/rxm5620", "/home/ann/.config/rxm5620", "/run/user/1000/rxm5620/ports"},
    {"installed, XDG_CONFIG_HOME set", Facts(false, false, "", "/home/ann/cfg"),
     "/usr/share/rxm5620", "/home/ann/cfg/rxm5620", "/home/ann/cfg/rxm5620/ports"},
    {"RXM5620_CONFIG_DIR set", Facts(false, false, "/tmp/settings", "/home/ann/cfg"),
     "/usr/share/rxm5620", "/tmp/settings", "/home/ann/cfg/rxm5620/ports"},
    {"RXM5620_CONFIG_DIR over a writable folder", Facts(true, true, "/tmp/settings"),
     "/home/ann/rxm", "/tmp/settings", "/home/ann/rxm/ports"},
    {"RXM5620_PORT_DIR set", Facts(false, false, "", "", "/run/user/1000", "/tmp/ports"),
     "/usr/share/rxm5620", "/home/ann/.config/rxm5620", "/tmp/ports"},
    {"installed, run by root, who may write /usr/bin", Facts(true, false),
     "/home/ann/share/rxm5620", "/home/ann/.config/rxm5620", "/home/ann/.config/rxm5620/ports"},
};

TEST(DataFolders, TheRuleForDataSettingsAndPorts) {
  for (const FolderCase& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DataDirectoryFor(c.facts), c.data);
    EXPECT_EQ(SettingsDirectoryFor(c.facts), c.settings);
    EXPECT_EQ(PortDirectoryFor(c.facts), c.ports);
  }
}

TEST(DataFolders, TheTestProgramsFindTheirDataNextToThem) {
  const FolderFacts facts = FolderFacts::Current();
  EXPECT_TRUE(facts.dataNextToExecutable) << facts.executableDir.toStdString();
  EXPECT_EQ(DataDirectory(), facts.executableDir);
}

}  // namespace
