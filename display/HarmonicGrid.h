#pragma once
// The harmonic report table: for orders 0 to 50 of the six signals U1, I1, U2, I2, U3, I3,
// the RMS value and the percentage of the fundamental. The grid has 13 columns and 52 rows;
// row 0 is the header (the view's horizontal header) and rows 1 to 51 hold orders 0 to 50.

#include <QAbstractTableModel>
#include <QColor>
#include <QHeaderView>
#include <QPalette>
#include <QString>
#include <QTableView>
#include <array>

#include "display/MeasurementModel.h"

class QPainter;

inline constexpr int kHarmonicGridColumns = 13;
inline constexpr int kHarmonicGridRows = 52;
inline constexpr int kHarmonicGridRowHeight = 20;

// Every cell text, [row][column]; row 0 is the header.
using HarmonicGridCells = std::array<std::array<QString, kHarmonicGridColumns>, kHarmonicGridRows>;

struct CellColours {
  QColor background;
  QColor text;
};

// The cell painter's colours: header columns in the phase colours, data rows alternating
// white (odd) and the light 3D colour (even).
CellColours HarmonicCellColours(int column, int row, const QPalette& palette);

// The cell painter: fills `rect` with the cell's background and draws its text centred on
// one line.
void DrawHarmonicCell(QPainter& painter, const QRect& rect, int column, int row,
                      const QString& text, const QPalette& palette);

// Holds the cell texts; a refresh rewrites them all and signals one change.
class HarmonicGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  HarmonicGridCells& Cells() { return cells_; }
  const HarmonicGridCells& Cells() const { return cells_; }
  // Tells the view that every cell may have changed.
  void CellsChanged();

 private:
  HarmonicGridCells cells_;
};

// The grid control (`StringGrid2` on the Harmonic Report page).
class HarmonicGrid : public QTableView {
  Q_OBJECT
 public:
  explicit HarmonicGrid(QWidget* parent = nullptr);

  // The text of a cell in grid terms: row 0 is the header.
  const QString& Cell(int column, int row) const;
  HarmonicGridModel& Model() { return model_; }

 private:
  HarmonicGridModel model_;
};

// Writes the header row, the orders 0 to 50 in column 0 and "0" into every other cell.
void InitHarmonicGrid(HarmonicGrid& grid);

// Rewrites every data cell from the harmonic arrays of the three channels.
void RefreshHarmonicGrid(HarmonicGrid& grid, const MeasurementSet& set);

// The same texts without a grid, for the refresh and for tests.
void FillHarmonicCells(HarmonicGridCells& cells, const MeasurementSet& set);

// Every column rnd(width / 13) pixels wide, then column 0 width div 30.
void SetHarmonicGridColumnWidths(HarmonicGrid& grid, int width);
