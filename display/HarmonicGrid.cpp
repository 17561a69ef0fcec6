#include "display/HarmonicGrid.h"

#include <QApplication>
#include <QStyle>

#include <QPainter>
#include <QStyledItemDelegate>
#include <cmath>
#include <cstring>

#include "display/ValueFormat.h"

namespace {

// The cells have fixed light backgrounds, so their texts take the toolkit's standard
// colours; a dark skin's light text colour would make them unreadable.
const QPalette& CellPalette() {
  static const QPalette palette = QApplication::style()->standardPalette();
  return palette;
}

const char* const kHeaderTexts[kHarmonicGridColumns] = {"N",
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

// Paints the header row with the cell painter.
class HeaderView : public QHeaderView {
 public:
  explicit HeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int section) const override {
    painter->save();
    const QString text = model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
    DrawHarmonicCell(*painter, rect, section, 0, text, CellPalette());
    // A fixed cell's edge, so that the header columns stay apart.
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->restore();
  }
};

// Paints the data cells with the cell painter.
class CellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    DrawHarmonicCell(*painter, option.rect, index.column(), index.row() + 1,
                     index.data(Qt::DisplayRole).toString(), CellPalette());
    painter->restore();
  }
};

// A number in the general decimal form, ".00" added to whole numbers. Texts that are not
// plain numbers (exponent form, NaN, infinities) take no ".00", which would misread them.
QString NumberText(long double x) {
  QString text = GeneralText(x + 0.0L);  // adding 0 turns -0 into 0
  if (std::isfinite(x) && !text.contains('.') && !text.contains('E')) text += ".00";
  return text;
}

using Spectrum = std::array<float, kHarmonicOrders>;

// Copies a packed array out of the record.
Spectrum Copy(const float (&source)[kHarmonicOrders]) {
  Spectrum spectrum;
  std::memcpy(spectrum.data(), source, sizeof spectrum);
  return spectrum;
}

}  // namespace

CellColours HarmonicCellColours(int column, int row, const QPalette& palette) {
  if (row == 0) {
    if (column >= 1 && column <= 4) return {QColor(255, 255, 0), QColor(0, 128, 128)};
    if (column >= 5 && column <= 8) return {QColor(0, 128, 0), palette.color(QPalette::WindowText)};
    if (column >= 9 && column <= 12) {
      return {QColor(255, 0, 0), palette.color(QPalette::WindowText)};
    }
    return {palette.color(QPalette::Button), palette.color(QPalette::ButtonText)};
  }
  const QColor background = row % 2 == 1 ? QColor(Qt::white) : palette.color(QPalette::Midlight);
  return {background, palette.color(QPalette::Text)};
}

void DrawHarmonicCell(QPainter& painter, const QRect& rect, int column, int row,
                      const QString& text, const QPalette& palette) {
  const CellColours colours = HarmonicCellColours(column, row, palette);
  painter.fillRect(rect, colours.background);
  painter.setPen(colours.text);
  painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

int HarmonicGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kHarmonicGridRows - 1;
}

int HarmonicGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kHarmonicGridColumns;
}

QVariant HarmonicGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return cells_[index.row() + 1][index.column()];
}

QVariant HarmonicGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= kHarmonicGridColumns) {
    return {};
  }
  return cells_[0][section];
}

void HarmonicGridModel::CellsChanged() {
  emit dataChanged(index(0, 0), index(kHarmonicGridRows - 2, kHarmonicGridColumns - 1),
                   {Qt::DisplayRole});
  emit headerDataChanged(Qt::Horizontal, 0, kHarmonicGridColumns - 1);
}

HarmonicGrid::HarmonicGrid(QWidget* parent) : QTableView(parent) {
  setObjectName("StringGrid2");
  setHorizontalHeader(new HeaderView(this));
  setModel(&model_);
  setItemDelegate(new CellDelegate(this));
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(kHarmonicGridRowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setFixedHeight(kHarmonicGridRowHeight);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
}

const QString& HarmonicGrid::Cell(int column, int row) const {
  return model_.Cells()[row][column];
}

void InitHarmonicGrid(HarmonicGrid& grid) {
  HarmonicGridCells& cells = grid.Model().Cells();
  for (int c = 0; c < kHarmonicGridColumns; ++c) cells[0][c] = kHeaderTexts[c];
  for (int r = 1; r < kHarmonicGridRows; ++r) {
    cells[r][0] = QString::number(r - 1);
    for (int c = 1; c < kHarmonicGridColumns; ++c) cells[r][c] = "0";
  }
  grid.Model().CellsChanged();
}

void FillHarmonicCells(HarmonicGridCells& cells, const MeasurementSet& set) {
  const Spectrum u[3] = {Copy(set.Channel[0].VoltageHarmonics),
                         Copy(set.Channel[1].VoltageHarmonics),
                         Copy(set.Channel[2].VoltageHarmonics)};
  const Spectrum i[3] = {Copy(set.Channel[0].CurrentHarmonics),
                         Copy(set.Channel[1].CurrentHarmonics),
                         Copy(set.Channel[2].CurrentHarmonics)};
  // A current percentage of channel 2 or 3 also needs channel 1's fundamental current.
  const bool currentPercent[3] = {i[0][1] > 0, i[0][1] > 0 && i[1][1] > 0,
                                  i[2][1] > 0 && i[0][1] > 0};
  for (int r = 1; r < kHarmonicGridRows; ++r) {
    const int n = r - 1;
    for (int ch = 0; ch < 3; ++ch) {
      const int column = 1 + 4 * ch;
      const long double un = u[ch][n], uf = u[ch][1];
      const QString uText = NumberText(std::nearbyint(un * 100) / 100);
      cells[r][column] = uText + "V";
      cells[r][column + 1] =
          (uf > 0 ? NumberText(std::nearbyint(un / uf * 10000) / 100) : uText) + "%";

      const long double in = i[ch][n], inf = i[ch][1];
      const QString iText = NumberText(std::nearbyint(in * 10000) / 10000);
      cells[r][column + 2] = iText + "A";
      cells[r][column + 3] =
          (currentPercent[ch] ? NumberText(std::trunc(in / inf * 10000) / 100) : iText) + "%";
    }
  }
}

void RefreshHarmonicGrid(HarmonicGrid& grid, const MeasurementSet& set) {
  FillHarmonicCells(grid.Model().Cells(), set);
  grid.Model().CellsChanged();
}

void SetHarmonicGridColumnWidths(HarmonicGrid& grid, int width) {
  const int each = static_cast<int>(std::nearbyint(width / 13.0));
  for (int c = 0; c < kHarmonicGridColumns; ++c) grid.setColumnWidth(c, each);
  grid.setColumnWidth(0, width / 30);
}
