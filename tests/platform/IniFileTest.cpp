#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/Errors.h"

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

class IniFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath("SysSet.ini");
  IniFile ini{path};
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(ini.ReadString("SkinSet", "Skin"), "2");
  EXPECT_EQ(ini.ReadInteger("SkinSet", "Skin"), 2);
  WriteBytes(path, "[WaveSet]\nScaleColor=1\n");
  EXPECT_EQ(ini.ReadString("SkinSet", "Skin", "7"), "7");
  EXPECT_EQ(ini.ReadString("WaveSet", "WaveBackground"), "2");
}

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutRegardToCase) {
  WriteBytes(path,
             "; written by hand\r\n"
             "[skinset]\r\n"
             "  SKIN = 5 \r\n"
             "[MyDisplayImage]\r\n"
             "p2disHar=0\r\n"
             "P2DisHar=1\r\n");
  EXPECT_EQ(ini.ReadInteger("SkinSet", "Skin"), 5);
  // The first of two equal keys is the one read (and written).
  EXPECT_EQ(ini.ReadInteger("MyDisplayImage", "P2DisHar"), 0);
  EXPECT_EQ(ini.ReadString("MYDISPLAYIMAGE", "p2dishar"), "0");
}

TEST_F(IniFileTest, WriteReplacesInPlaceAndKeepsEveryOtherLineByteForByte) {
  const QByteArray before =
      "; comment line\r\n"
      "[RecordSet]\r\n"
      "Ch0 = 14\r\n"
      "Ch1=3\r\n"
      "\r\n"
      "[skinset]\r\n"
      "skin=1\r\n"
      "odd line without equals\r\n";
  WriteBytes(path, before);
  ini.WriteString("SkinSet", "Skin", "4");
  ini.WriteInteger("RecordSet", "Ch0", -1);
  EXPECT_EQ(ReadBytes(path),
            "; comment line\r\n"
            "[RecordSet]\r\n"
            "Ch0 =-1\r\n"
            "Ch1=3\r\n"
            "\r\n"
            "[skinset]\r\n"
            "skin=4\r\n"
            "odd line without equals\r\n");
  EXPECT_EQ(ini.ReadInteger("RecordSet", "Ch0"), -1);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"SysSet.ini"});
}

TEST_F(IniFileTest, WriteAddsAMissingKeyToItsSectionAndAMissingSectionAtTheEnd) {
  WriteBytes(path,
             "[RecordSet]\n"
             "Ch0=1\n"
             "\n"
             "[CommPort]\n"
             "Port=3");  // no final line break
  ini.WriteString("RecordSet", "SaveSetp", "5");
  ini.WriteString("MyDisplayImage", "P1DisHar", "1");
  ini.WriteString("myDisplayImage", "P2DisHar", "0");
  EXPECT_EQ(ReadBytes(path),
            "[RecordSet]\n"
            "Ch0=1\n"
            "SaveSetp=5\n"
            "\n"
            "[CommPort]\n"
            "Port=3\n"
            "[MyDisplayImage]\n"
            "P1DisHar=1\n"
            "P2DisHar=0\n");
}

TEST_F(IniFileTest, WriteCreatesTheFileAndAValueCannotBreakIntoNewLines) {
  ini.WriteString("Init", "Page", "3\n[Init]\nPage=9");
  EXPECT_EQ(ReadBytes(path), "[Init]\nPage=3 [Init] Page=9\n");
}

TEST_F(IniFileTest, FreeTextReadsBackExactlyAsWritten) {
  const char* const values[] = {
      "a=b=c",
      "; not a comment",
      "[PrintInfo]",
      "  two leading blanks",
      "trailing  ",
      "\"quoted\"",
      "\"",
      "",
      "上海测试中心：一号",
      "#hash",
      "x ; y",
      "\" half",
  };
  for (const char* value : values) {
    const QString text = QString::fromUtf8(value);
    ini.WriteString("PrintInfo", "ProjectName", text);
    ini.WriteString("PrintInfo", "company", "next");  // the key after it stays apart
    EXPECT_EQ(ini.ReadString("PrintInfo", "ProjectName"), text) << value;
    EXPECT_EQ(ini.ReadString("PrintInfo", "company"), "next") << value;
  }
  // Plain values are stored as typed, for other readers of the file.
  ini.WriteString("PrintInfo", "conner", "Li Lei");
  EXPECT_TRUE(ReadBytes(path).contains("\nconner=Li Lei\n"));
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenRaisesAnErrorNamingItsFullPath) {
  const QString missingFolder = dir.filePath("no-such-folder/SysSet.ini");
  try {
    IniFile(missingFolder).WriteString("Init", "Page", "1");
    FAIL() << "no error";
  } catch (const AppError& error) {
    EXPECT_TRUE(error.Text().contains(QFileInfo(missingFolder).absoluteFilePath()))
        << error.Text().toStdString();
  }
  // A folder in the place of the file: reads give defaults, writes fail, nothing is lost.
  ASSERT_TRUE(QDir(dir.path()).mkdir("SysSet.ini"));
  EXPECT_EQ(ini.ReadString("Init", "Page"), "2");
  EXPECT_THROW(ini.WriteString("Init", "Page", "1"), AppError);
  EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(SettingsTextToInt, AcceptsDecimalIntegersAndNamesAnythingElse) {
  struct Case {
    const char* text;
    int value;
  };
  const Case good[] = {{"0", 0},
                       {"2", 2},
                       {"-1", -1},
                       {"+4", 4},
                       {" 7 ", 7},
                       {"00012", 12},
                       {"2147483647", 2147483647},
                       {"-2147483648", -2147483647 - 1}};
  for (const Case& c : good) EXPECT_EQ(SettingsTextToInt(c.text), c.value) << c.text;

  const char* bad[] = {"",    " ", "abc",  "1.5",        "1e3",         "12x",
                       "- 1", "+", "0x10", "2147483648", "-2147483649", "99999999999999999999"};
  for (const char* text : bad) {
    try {
      SettingsTextToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Text(), QString("'%1' is not a valid integer value").arg(text));
    }
  }
}

TEST(SettingsDirectory, IsTheExecutablesFolderUnlessTheEnvironmentNamesOne) {
  const QByteArray saved = qgetenv("RXM5620_CONFIG_DIR");
  qunsetenv("RXM5620_CONFIG_DIR");
  EXPECT_EQ(SettingsDirectory(), QCoreApplication::applicationDirPath());
  EXPECT_EQ(SystemSettings().Path(), QCoreApplication::applicationDirPath() + "/SysSet.ini");
  qputenv("RXM5620_CONFIG_DIR", "/tmp/rxm-settings");
  EXPECT_EQ(SystemSettings().Path(), "/tmp/rxm-settings/SysSet.ini");
  if (saved.isEmpty()) {
    qunsetenv("RXM5620_CONFIG_DIR");
  } else {
    qputenv("RXM5620_CONFIG_DIR", saved);
  }
}

}  // namespace
