#include "display/HarmonicGrid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <limits>

#include "display/HarmonicReportPage.h"

namespace {

MeasurementSet ZeroSet() {
  MeasurementSet set;
  std::memset(&set, 0, sizeof set);
  return set;
}

void SetHarmonic(float (&array)[kHarmonicOrders], int n, float value) {
  std::memcpy(&array[n], &value, sizeof value);
}

std::string Text(const HarmonicGridCells& cells, int column, int row) {
  return cells[row][column].toStdString();
}

TEST(HarmonicGrid, InitWritesHeadersOrdersAndZeros) {
  HarmonicGrid grid;
  InitHarmonicGrid(grid);
  const char* headers[] = {"N",
                           "U1 RMS",
                           "U1 Percentage",
                           "I1 RMS",
                           "I1 Percentage",
                           "U2 RMS",
                           "U2 Percentage",
                           "I2 RMS",
                           "I2 Percentage",
                           "U3 RMS",
                           "U3 Percentage",
                           "I3 RMS",
                           "I3 Percentage"};
  for (int c = 0; c < 13; ++c) EXPECT_EQ(grid.Cell(c, 0).toStdString(), headers[c]);
  for (int r = 1; r < 52; ++r) {
    EXPECT_EQ(grid.Cell(0, r), QString::number(r - 1));
    for (int c = 1; c < 13; ++c) ASSERT_EQ(grid.Cell(c, r), "0") << c << "," << r;
  }
  // The view shows the same texts: the header row and order 50 in the last row.
  EXPECT_EQ(grid.model()->headerData(7, Qt::Horizontal).toString(), "I2 RMS");
  EXPECT_EQ(grid.model()->index(50, 0).data().toString(), "50");
  EXPECT_EQ(grid.model()->rowCount(), 51);
  EXPECT_EQ(grid.model()->columnCount(), 13);
}

TEST(HarmonicGrid, AllZeroArraysGiveZeroWithTwoDecimalsAndUnits) {
  HarmonicGrid grid;
  InitHarmonicGrid(grid);
  RefreshHarmonicGrid(grid, ZeroSet());
  for (int r = 1; r < 52; ++r) {
    EXPECT_EQ(grid.Cell(0, r), QString::number(r - 1));
    for (int ch = 0; ch < 3; ++ch) {
      ASSERT_EQ(grid.Cell(1 + 4 * ch, r), "0.00V");
      ASSERT_EQ(grid.Cell(2 + 4 * ch, r), "0.00%");
      ASSERT_EQ(grid.Cell(3 + 4 * ch, r), "0.00A");
      ASSERT_EQ(grid.Cell(4 + 4 * ch, r), "0.00%");
    }
  }
}

// One cell after a refresh, for a set built by `build`.
struct CellCase {
  const char* what;
  void (*build)(MeasurementSet&);
  int column, row;
  const char* text;
};

void Channel1Voltage(MeasurementSet& s) {
  SetHarmonic(s.Channel[0].VoltageHarmonics, 1, 230.1f);
  SetHarmonic(s.Channel[0].VoltageHarmonics, 3, 0.123456f);
  SetHarmonic(s.Channel[0].VoltageHarmonics, 5, 230.0f);
  SetHarmonic(s.Channel[0].VoltageHarmonics, 7, -1.005f);
}

void Channel2Voltage(MeasurementSet& s) {
  SetHarmonic(s.Channel[1].VoltageHarmonics, 1, 100.0f);
  SetHarmonic(s.Channel[1].VoltageHarmonics, 3, 12.3456f);
  SetHarmonic(s.Channel[1].VoltageHarmonics, 4, 0.00125f);  // 0.00125 % rounds to 0
}

void AllCurrents(MeasurementSet& s) {
  for (int ch = 0; ch < 3; ++ch) {
    SetHarmonic(s.Channel[ch].CurrentHarmonics, 1, 2.0f);
    SetHarmonic(s.Channel[ch].CurrentHarmonics, 3, 0.246912f);  // 12.3456 %
    SetHarmonic(s.Channel[ch].CurrentHarmonics, 9, 5.0f);
  }
}

void NoChannel1Fundamental(MeasurementSet& s) {
  AllCurrents(s);
  SetHarmonic(s.Channel[0].CurrentHarmonics, 1, 0.0f);
}

void NoChannel2Fundamental(MeasurementSet& s) {
  AllCurrents(s);
  SetHarmonic(s.Channel[1].CurrentHarmonics, 1, 0.0f);
}

void NegativeFundamental(MeasurementSet& s) {
  SetHarmonic(s.Channel[2].VoltageHarmonics, 1, -5.0f);
  SetHarmonic(s.Channel[2].VoltageHarmonics, 2, 1.25f);
}

const CellCase kCellCases[] = {
    {"voltage RMS keeps its own decimals", Channel1Voltage, 1, 2, "230.1V"},
    {"whole voltage RMS gets .00", Channel1Voltage, 1, 6, "230.00V"},
    {"fundamental is 100 %", Channel1Voltage, 2, 2, "100.00%"},
    {"small voltage RMS rounds to 2 decimals", Channel1Voltage, 1, 4, "0.12V"},
    {"negative voltage RMS", Channel1Voltage, 1, 8, "-1.00V"},
    {"voltage percent rounds", Channel2Voltage, 6, 4, "12.35%"},
    {"voltage percent rounds to zero", Channel2Voltage, 6, 5, "0.00%"},
    {"other channels' voltages untouched", Channel2Voltage, 2, 4, "0.00%"},
    {"current RMS has 4 decimals", AllCurrents, 3, 4, "0.2469A"},
    {"current percent truncates", AllCurrents, 4, 4, "12.34%"},
    {"I2 percent", AllCurrents, 8, 4, "12.34%"},
    {"I3 percent", AllCurrents, 12, 4, "12.34%"},
    {"current above the fundamental", AllCurrents, 12, 10, "250.00%"},
    {"current fundamental", AllCurrents, 4, 2, "100.00%"},
    {"I1 percent repeats RMS without F1", NoChannel1Fundamental, 4, 4, "0.2469%"},
    {"I2 percent repeats RMS without F1", NoChannel1Fundamental, 8, 4, "0.2469%"},
    {"I3 percent repeats RMS without F1", NoChannel1Fundamental, 12, 4, "0.2469%"},
    {"I2 fundamental repeats RMS without F1", NoChannel1Fundamental, 8, 2, "2.00%"},
    {"I2 percent repeats RMS without F2", NoChannel2Fundamental, 8, 4, "0.2469%"},
    {"I3 percent is kept without F2", NoChannel2Fundamental, 12, 4, "12.34%"},
    {"negative fundamental repeats RMS", NegativeFundamental, 10, 3, "1.25%"},
};

TEST(HarmonicGrid, RefreshTextsFollowTheRoundingAndFundamentalRules) {
  for (const CellCase& c : kCellCases) {
    MeasurementSet set = ZeroSet();
    c.build(set);
    HarmonicGridCells cells;
    FillHarmonicCells(cells, set);
    EXPECT_EQ(Text(cells, c.column, c.row), c.text) << c.what;
  }
}

TEST(HarmonicGrid, ValuesThatAreNotNumbersNeitherCrashNorGainDecimals) {
  MeasurementSet set = ZeroSet();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  SetHarmonic(set.Channel[0].VoltageHarmonics, 1, nan);
  SetHarmonic(set.Channel[0].VoltageHarmonics, 2, inf);
  SetHarmonic(set.Channel[0].CurrentHarmonics, 1, 1e-45f);  // a denormal fundamental
  SetHarmonic(set.Channel[0].CurrentHarmonics, 2, 3e38f);
  HarmonicGridCells cells;
  FillHarmonicCells(cells, set);
  EXPECT_EQ(Text(cells, 1, 2), "NaNV");
  EXPECT_EQ(Text(cells, 2, 2), "NaN%");  // no fundamental: repeats the RMS number
  EXPECT_EQ(Text(cells, 1, 3), "InfV");
  EXPECT_EQ(Text(cells, 3, 3), "3.00000000549776E38A");
  EXPECT_EQ(Text(cells, 4, 2), "100.00%");
  EXPECT_EQ(Text(cells, 4, 3).back(), '%');
}

TEST(HarmonicGrid, ArbitraryBytesGiveATextInEveryCell) {
  uint32_t seed = 7;
  for (int i = 0; i < 6; ++i) {
    MeasurementSet set;
    auto* bytes = reinterpret_cast<uint8_t*>(&set);
    for (size_t k = 0; k < sizeof set; ++k) {
      seed = seed * 1103515245u + 12345u;
      bytes[k] = i == 0 ? 0xFF : static_cast<uint8_t>(seed >> 16);
    }
    HarmonicGridCells cells;
    FillHarmonicCells(cells, set);
    for (int r = 1; r < 52; ++r) {
      for (int c = 1; c < 13; ++c) {
        const QString& text = cells[r][c];
        ASSERT_GE(text.size(), 2) << r << "," << c;
        ASSERT_TRUE(text.endsWith(c % 2 == 0 ? "%" : (c % 4 == 1 ? "V" : "A"))) << r << "," << c;
      }
    }
  }
}

TEST(HarmonicGrid, CellColoursFollowThePhasesAndAlternateRows) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(1, 2, 3));
  palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));
  palette.setColor(QPalette::WindowText, QColor(7, 8, 9));
  palette.setColor(QPalette::Midlight, QColor(10, 11, 12));
  palette.setColor(QPalette::Text, QColor(13, 14, 15));
  struct ColourCase {
    int column, row;
    QColor background, text;
  };
  const ColourCase cases[] = {
      {0, 0, QColor(1, 2, 3), QColor(4, 5, 6)},
      {1, 0, QColor(255, 255, 0), QColor(0, 128, 128)},
      {4, 0, QColor(255, 255, 0), QColor(0, 128, 128)},
      {5, 0, QColor(0, 128, 0), QColor(7, 8, 9)},
      {8, 0, QColor(0, 128, 0), QColor(7, 8, 9)},
      {9, 0, QColor(255, 0, 0), QColor(7, 8, 9)},
      {12, 0, QColor(255, 0, 0), QColor(7, 8, 9)},
      {0, 1, Qt::white, QColor(13, 14, 15)},
      {0, 2, QColor(10, 11, 12), QColor(13, 14, 15)},
      {7, 51, Qt::white, QColor(13, 14, 15)},
      {12, 50, QColor(10, 11, 12), QColor(13, 14, 15)},
  };
  for (const ColourCase& c : cases) {
    const CellColours colours = HarmonicCellColours(c.column, c.row, palette);
    EXPECT_EQ(colours.background, c.background) << c.column << "," << c.row;
    EXPECT_EQ(colours.text, c.text) << c.column << "," << c.row;
  }
}

TEST(HarmonicGrid, PainterFillsTheCellAndCentresTheText) {
  QImage image(80, 20, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    DrawHarmonicCell(painter, QRect(0, 0, 80, 20), 5, 0, "I", QPalette());
  }
  EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 128, 0));
  EXPECT_EQ(image.pixelColor(79, 19), QColor(0, 128, 0));
  // The text's ink lies around the centre only.
  int minX = 80, maxX = -1;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 80; ++x) {
      if (image.pixelColor(x, y) != QColor(0, 128, 0)) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
    }
  }
  ASSERT_LE(minX, maxX);
  EXPECT_NEAR((minX + maxX) / 2.0, 39.5, 3.0);
}

TEST(HarmonicGrid, ColumnWidthsAndRowHeight) {
  HarmonicGrid grid;
  SetHarmonicGridColumnWidths(grid, 978);  // 978 / 13 = 75.23
  EXPECT_EQ(grid.columnWidth(0), 32);
  for (int c = 1; c < 13; ++c) EXPECT_EQ(grid.columnWidth(c), 75);
  SetHarmonicGridColumnWidths(grid, 1066);  // 1066 / 13 = 82.0, 1066 / 30 = 35.5
  EXPECT_EQ(grid.columnWidth(12), 82);
  EXPECT_EQ(grid.columnWidth(0), 35);
  SetHarmonicGridColumnWidths(grid, 910);  // 910 / 13 = 70 exactly
  EXPECT_EQ(grid.columnWidth(1), 70);
  EXPECT_EQ(grid.rowHeight(10), 20);
  EXPECT_EQ(grid.horizontalHeader()->height(), 20);
}

TEST(HarmonicReportPage, TitleStripAboveTheGridFillingTheRest) {
  HarmonicReportPage page;
  page.resize(978, 605);
  page.show();
  EXPECT_EQ(page.TitleStrip->geometry(), QRect(0, 0, 978, 18));
  EXPECT_EQ(page.StringGrid2->geometry(), QRect(0, 18, 978, 587));
  const QImage strip = page.TitleStrip->grab().toImage();
  EXPECT_EQ(strip.pixelColor(0, 0), QColor(0, 128, 128));
  EXPECT_EQ(strip.pixelColor(977, 17), QColor(0, 128, 128));
  // White text begins near (3, 2) and stays inside the strip.
  bool white = false;
  for (int y = 2; y < 18 && !white; ++y) {
    for (int x = 3; x < 40 && !white; ++x) white = strip.pixelColor(x, y) == QColor(Qt::white);
  }
  EXPECT_TRUE(white);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(strip.pixelColor(x, 8), QColor(0, 128, 128));
}

}  // namespace
