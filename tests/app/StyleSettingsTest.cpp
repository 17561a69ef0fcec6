#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "app/StartUp.h"
#include "app/TMainForm.h"
#include "app/Tskin.h"
#include "display/PlotImages.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "support/PtyPair.h"

namespace {

class StyleSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("RXM5620_CONFIG_DIR", configDir.path().toLocal8Bit());
    WaveBackground = ScaleColor = Qt::black;  // their state before the style window exists
    // The saved port COM2 is there, so the port scan at start-up has nothing to report.
    qputenv("RXM5620_PORT_DIR", portDir.path().toLocal8Bit());
    QFile::link(QString::fromStdString(instrument.SlavePath()), portDir.filePath("COM2"));
    previous_ = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes << r.text;
      return QMessageBox::Ok;
    });
  }
  void TearDown() override {
    SetMessageBoxHandler(previous_);
    qunsetenv("RXM5620_CONFIG_DIR");
    qunsetenv("RXM5620_PORT_DIR");
  }

  void WriteSettings(const QByteArray& text) {
    QFile file(configDir.filePath("SysSet.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QString Key(const char* section, const char* key) {
    return SystemSettings().ReadString(section, key, "<none>");
  }
  ApplicationWindows Start() { return CreateApplicationWindows({"/opt/rxm5620/rxm5620"}); }

  QTemporaryDir configDir;
  QTemporaryDir portDir;
  PtyPair instrument;
  QStringList boxes;

 private:
  MessageBoxHandler previous_;
};

TEST_F(StyleSettings, FreshInstallationAppliesTheDefaultsAndWritesThemBack) {
  ApplicationWindows w = Start();
  EXPECT_TRUE(w.main->Skin().Active());
  EXPECT_TRUE(w.main->Skin().CurrentFile().endsWith("SkinsFile/02.ats"));
  EXPECT_EQ(qApp->styleSheet(), w.main->Skin().CurrentSheet());
  EXPECT_EQ(w.main->PlotBackground(), QColor(238, 238, 238));
  EXPECT_EQ(w.main->PlotGrid(), QColor(170, 170, 170));
  EXPECT_EQ(w.main->PageControl1->currentIndex(), 2);
  for (auto [section, key] : {std::pair{"SkinSet", "Skin"},
                              {"WaveSet", "WaveBackground"},
                              {"WaveSet", "ScaleColor"},
                              {"Init", "Page"}}) {
    EXPECT_EQ(Key(section, key), "2") << key;
  }
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(StyleSettings, StoredChoicesAreAppliedWhateverTheCaseOfTheSection) {
  WriteSettings("[skinset]\nskin=4\n[WaveSet]\nWaveBackground=0\nScaleColor=1\n[INIT]\nPage=3\n");
  ApplicationWindows w = Start();
  EXPECT_TRUE(w.main->Skin().CurrentFile().endsWith("SkinsFile/04.ats"));
  EXPECT_EQ(w.main->PlotBackground(), QColor(0, 0, 0));
  EXPECT_EQ(w.main->PlotGrid(), QColor(239, 239, 0));
  EXPECT_EQ(w.main->PageControl1->currentIndex(), 3);
  EXPECT_EQ(w.others.skin->RadioGroup1->ItemIndex(), 4);
}

TEST_F(StyleSettings, HarmonicChoicesAreAppliedAtStartUp) {
  WriteSettings("[MyDisplayImage]\nP1DisHar=0\nP2DisHar=5\n");
  ApplicationWindows w = Start();
  EXPECT_EQ(w.main->SeCustomTabSheet1->HarmonicChoice(), 0);
  EXPECT_EQ(w.main->SeCustomTabSheet2->HarmonicChoice(), 1) << "any value but 0 is current";
  EXPECT_EQ(w.main->SeCustomTabSheet3->HarmonicChoice(), 1);
  EXPECT_EQ(Key("MyDisplayImage", "P1DisHar"), "0");
  EXPECT_EQ(Key("MyDisplayImage", "P2DisHar"), "1");
}

TEST_F(StyleSettings, SkinOutOfRangeKeepsTheBuiltInLookUntilTheStartPageClick) {
  WriteSettings("[SkinSet]\nSkin=9\n");
  ApplicationWindows w = Start();
  // The style window's creation keeps "Skin 1"; the start-page click then applies it.
  EXPECT_EQ(w.others.skin->RadioGroup1->ItemIndex(), 1);
  EXPECT_TRUE(w.main->Skin().CurrentFile().endsWith("SkinsFile/01.ats"));
  EXPECT_EQ(Key("SkinSet", "Skin"), "1");
}

TEST_F(StyleSettings, SystemDefaultSwitchesToTheSystemLook) {
  ApplicationWindows w = Start();
  w.others.skin->RadioGroup1->Button(0)->click();
  EXPECT_FALSE(w.main->Skin().Active());
  EXPECT_TRUE(qApp->styleSheet().isEmpty());
  EXPECT_EQ(Key("SkinSet", "Skin"), "0");
  w.others.skin->RadioGroup1->Button(3)->click();
  EXPECT_TRUE(w.main->Skin().Active());
  EXPECT_FALSE(qApp->styleSheet().isEmpty());
}

TEST_F(StyleSettings, ChoosingAStartPageTakesEffectAtTheNextStart) {
  ApplicationWindows w = Start();
  w.others.skin->RadioGroup4->Button(4)->click();
  EXPECT_EQ(w.main->PageControl1->currentIndex(), 2);
  EXPECT_EQ(Key("Init", "Page"), "4");
}

TEST_F(StyleSettings, ANonIntegerStopsTheStyleWindowsCreationAtThatKey) {
  WriteSettings(
      "[SkinSet]\nSkin=3\n[WaveSet]\nWaveBackground=0\nScaleColor=dark\n[Init]\nPage=0\n");
  ApplicationWindows w = Start();
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_TRUE(boxes[0].contains("dark")) << boxes[0].toStdString();
  EXPECT_EQ(w.main->PlotBackground(), QColor(0, 0, 0)) << "applied before the bad key";
  EXPECT_EQ(w.main->PlotGrid(), QColor(Qt::black)) << "the bad key and after are skipped";
  EXPECT_EQ(w.others.skin->RadioGroup4->ItemIndex(), -1);
  EXPECT_NE(w.others.inputNetSet, nullptr) << "the program still starts";
}

TEST_F(StyleSettings, AnUnwritableSettingsFolderIsReportedAndTheChoiceStaysForThisRun) {
  qputenv("RXM5620_CONFIG_DIR", configDir.filePath("no/such/folder").toLocal8Bit());
  ApplicationWindows w = Start();
  ASSERT_FALSE(boxes.isEmpty());
  EXPECT_TRUE(boxes[0].contains("SysSet.ini")) << boxes[0].toStdString();
  EXPECT_TRUE(w.main->Skin().CurrentFile().endsWith("SkinsFile/02.ats"));
  EXPECT_NE(w.others.inputNetSet, nullptr);
}

TEST(SkinEngine, AMissingSkinFileKeepsTheCurrentLookAndSaysSo) {
  SkinEngine engine;
  const QString before = engine.CurrentSheet();
  const QString problem = engine.LoadSkinFile("/nonexistent/SkinsFile/07.ats");
  EXPECT_TRUE(problem.contains("07.ats"));
  EXPECT_EQ(engine.CurrentSheet(), before);
  EXPECT_EQ(qApp->styleSheet(), before);
}

}  // namespace

namespace {

// The pages follow the window: every page, shown or not, is laid out for the page size.
TEST_F(StyleSettings, PagesAreLaidOutForTheWindowsSizeAfterShowAndResize) {
  ApplicationWindows w = Start();
  TMainForm& main = *w.main;
  auto expectLaidOut = [&](const char* when) {
    const QSize page = main.PageControl1->currentWidget()->size();
    const int gw = (page.width() - 12) / 2;
    const int gh = (page.height() - 12) / 2;
    EXPECT_EQ(main.SeCustomTabSheet1->SamplingGroupBox->size(), QSize(gw, gh)) << when;
    EXPECT_EQ(main.SeCustomTabSheet3->SamplingGroupBox->size(), QSize(gw, gh)) << when;
    EXPECT_EQ(main.SeCustomTabSheet4->GroupBox13->size(), QSize(gw, gh)) << when;
  };
  for (int page : {0, 2}) {
    main.PageControl1->setCurrentIndex(page);
    main.show();
    QApplication::processEvents();
    expectLaidOut("after show");
    main.resize(1240, 900);
    QApplication::processEvents();
    EXPECT_GT(main.SeCustomTabSheet1->width(), 1100);
    expectLaidOut("after a resize");
    main.hide();
    main.resize(1000, 768);
  }
}

}  // namespace

namespace {

// The page in front, whichever it is, is laid out for its own size: a hidden page's size
// says nothing about the window's.
TEST_F(StyleSettings, ThePageInFrontIsLaidOutForItsSizeAfterShowAndResize) {
  for (int start : {2, 3}) {
    SCOPED_TRACE("start page " + std::to_string(start));
    WriteSettings(QByteArray("[Init]\nPage=") + QByteArray::number(start) + "\n");
    ApplicationWindows w = Start();
    TMainForm& main = *w.main;
    ASSERT_EQ(main.PageControl1->currentIndex(), start);
    auto expectLaidOut = [&](const char* when) {
      const QSize page = main.PageControl1->currentWidget()->size();
      const QSize group((page.width() - 12) / 2, (page.height() - 12) / 2);
      EXPECT_EQ(main.SeCustomTabSheet3->SamplingGroupBox->size(), group) << when;
      EXPECT_EQ(main.SeCustomTabSheet4->GroupBox13->size(), group) << when;
    };
    main.show();
    QApplication::processEvents();
    expectLaidOut("after show");
    main.resize(1240, 900);
    QApplication::processEvents();
    EXPECT_GT(main.PageControl1->currentWidget()->width(), 1100);
    expectLaidOut("after a resize");
    main.PageControl1->setCurrentIndex(0);  // the page shown next has the same layout
    QApplication::processEvents();
    expectLaidOut("after showing channel 1");
  }
}

}  // namespace
