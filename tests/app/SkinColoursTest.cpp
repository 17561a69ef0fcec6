#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "app/TMainForm.h"
#include "display/MeasurementModel.h"
#include "display/PageWidgets.h"
#include "display/PlotImages.h"

namespace {

struct Counts {
  int valueBlue = 0;
  int skyBlue = 0;
};

Counts CountColours(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  Counts counts;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      counts.valueBlue += c == kValueBlue;
      counts.skyBlue += c == kSkyBlue;
    }
  }
  return counts;
}

// The voltage box of channel 1 keeps its sky-blue background and its blue values whichever
// skin styles the rest of the window.
TEST(SkinColours, ValueBoxesKeepTheirColoursUnderEverySkin) {
  QTemporaryDir configDir;
  qputenv("RXM5620_CONFIG_DIR", configDir.path().toLocal8Bit());
  InitMeasurementRecord(MeasurementData);
  for (ChannelBlock& block : MeasurementData.Set.Channel) {
    block.VoltageTrms = 230.25f;
    block.VoltagePeak = 325.5f;
  }
  TMainForm main;
  main.FormCreate({"rxm5620"});
  main.show();
  main.RefreshAllPages();
  for (int skin = 0; skin <= 6; ++skin) {
    SCOPED_TRACE("skin " + std::to_string(skin));
    main.ApplySkin(skin);
    QApplication::processEvents();
    const Counts counts = CountColours(main.SeCustomTabSheet1->VoltageBox.Box);
    EXPECT_GT(counts.valueBlue, 300);
    EXPECT_GT(counts.skyBlue, 2000);
  }
  main.ApplySkin(0);
  qunsetenv("RXM5620_CONFIG_DIR");
}

}  // namespace

namespace {

// At the default window size and at the smallest, no caption runs into its value.
TEST(PageTexts, CaptionsEndBeforeTheirValues) {
  QTemporaryDir configDir;
  qputenv("RXM5620_CONFIG_DIR", configDir.path().toLocal8Bit());
  TMainForm main;
  main.FormCreate({"rxm5620"});
  for (const QSize size : {QSize(1000, 768), QSize(100, 100)}) {
    main.resize(size);
    main.show();
    QApplication::processEvents();
    for (ChannelPage* page :
         {main.SeCustomTabSheet1, main.SeCustomTabSheet2, main.SeCustomTabSheet3}) {
      for (ValueBox* box : {&page->VoltageBox, &page->CurrentBox, &page->PowerBox}) {
        for (const ValueRow& row : box->Rows) {
          for (const ValuePair& pair : row.Pairs) {
            const QString text = pair.Caption->text();
            const int right =
                pair.Caption->x() + QFontMetrics(pair.Caption->font()).horizontalAdvance(text);
            EXPECT_LT(right, pair.Value->x()) << text.toStdString();
            EXPECT_FALSE(text.contains(QChar(0x2026))) << text.toStdString() << " is cut";
          }
        }
      }
    }
    ThreePhasePage* three = main.SeCustomTabSheet4;
    for (const ThreePhaseBox* box :
         {&three->ComprehensiveBox, &three->UnbalanceBox, &three->IntegrationBox}) {
      for (const ThreePhaseRow& row : box->Rows) {
        if (row.Caption && !row.Pairs.empty()) {
          const int right =
              row.Caption->x() +
              QFontMetrics(row.Caption->font()).horizontalAdvance(row.Caption->text());
          EXPECT_LT(right, row.Pairs[0].Caption->x()) << row.Caption->text().toStdString();
        }
        for (const ThreePhasePair& pair : row.Pairs) {
          const QString text = pair.Caption->text();
          const int right =
              pair.Caption->x() + QFontMetrics(pair.Caption->font()).horizontalAdvance(text);
          EXPECT_LT(right, pair.Value->x()) << text.toStdString();
        }
      }
    }
  }
  qunsetenv("RXM5620_CONFIG_DIR");
}

// Every text the status bar's panels are given shows whole at the default window size.
TEST(PageTexts, StatusPanelsShowTheirTextsWholeAtTheDefaultSize) {
  QTemporaryDir configDir;
  qputenv("RXM5620_CONFIG_DIR", configDir.path().toLocal8Bit());
  TMainForm main;
  main.FormCreate({"rxm5620"});
  main.show();
  QApplication::processEvents();
  const std::pair<int, const char*> texts[] = {
      {0, "Status: synchronization with the instrument"},
      {0, "Communication failure, re-connect!"},
      {1, "Bandwidth: narrowband"},
      {2, "Wiring: Three-phase Three-wire(3VT3CT)"},
      {3, "Communication"},
      {5, "Date: 10 Dec 2026 21:15:07"},
      {7, "Professional electrical measuring"},
  };
  for (const auto& [panel, text] : texts) {
    main.SetStatusText(panel, text);
    QApplication::processEvents();
    EXPECT_EQ(main.StatusBar->ShownPanelText(panel).toStdString(), text) << panel;
  }
  qunsetenv("RXM5620_CONFIG_DIR");
}

}  // namespace
