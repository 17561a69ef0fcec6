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
