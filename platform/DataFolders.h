#pragma once
// Where the program finds its files. Read-only data (PenData, SkinsFile, the handbook) is
// next to the executable when it is there (a build folder or a portable copy), else in the
// installed data folder <prefix>/share/rxm5620 beside the executable's bin folder. The
// settings files live in RXM5620_CONFIG_DIR when set, else next to the executable when
// its data is there too and that folder is writable (a build folder, a portable copy),
// else in the user's configuration folder ($XDG_CONFIG_HOME/rxm5620, by default
// ~/.config/rxm5620), created on first use. The port directory is RXM5620_PORT_DIR when
// set, else "ports" next to such a portable copy, else $XDG_RUNTIME_DIR/rxm5620/ports,
// else "ports" in the configuration folder.

#include <QString>

// What the rule depends on; the system's values by FolderFacts::Current().
struct FolderFacts {
  QString executableDir;
  bool executableDirWritable = false;
  bool dataNextToExecutable = false;  // PenData is there
  QString configDirEnv;               // RXM5620_CONFIG_DIR
  QString portDirEnv;                 // RXM5620_PORT_DIR
  QString xdgConfigHome;
  QString xdgRuntimeDir;
  QString home;

  static FolderFacts Current();
};

QString DataDirectoryFor(const FolderFacts& facts);
QString SettingsDirectoryFor(const FolderFacts& facts);
QString PortDirectoryFor(const FolderFacts& facts);

// The system's folders; the settings folder is created when missing.
QString DataDirectory();
QString DataFile(const QString& relative);
QString SettingsDirectory();
QString DefaultPortDirectory();
