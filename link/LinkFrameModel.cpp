#include "link/LinkFrameModel.h"

#include <QBrush>
#include <QColor>

LinkFrameModel::LinkFrameModel(const LinkLog& log, QObject* parent)
    : QAbstractTableModel(parent), log_(log) {
  Refresh();
}

void LinkFrameModel::SetErrorsOnly(bool errorsOnly) {
  errorsOnly_ = errorsOnly;
  version_ = ~0ull;
  Refresh();
}

bool LinkFrameModel::Refresh() {
  if (log_.Version() == version_) return false;
  beginResetModel();
  version_ = log_.Version();
  rows_.clear();
  for (size_t i = 0; i < log_.Size(); ++i) {
    if (!errorsOnly_ || log_.At(i).IsError()) rows_.push_back(i);
  }
  endResetModel();
  return true;
}

int LinkFrameModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LinkFrameModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant LinkFrameModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const LoggedFrame& f = Frame(index.row());
  if (role == Qt::ForegroundRole && f.IsError()) return QBrush(QColor(200, 0, 0));
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  switch (index.column()) {
    case Time:
      return QString::number(static_cast<double>(f.TimeMs) / 1000.0, 'f', 3);
    case Direction:
      return f.Direction == FrameDirection::Request ? "TX" : "RX";
    case Bytes: {
      // The first bytes and the length; the tooltip and the saved log hold them all.
      const size_t shown = role == Qt::ToolTipRole ? std::min<size_t>(f.Bytes.size(), 256) : 24;
      QString hex;
      for (size_t i = 0; i < std::min(shown, f.Bytes.size()); ++i) {
        hex += QString("%1 ").arg(f.Bytes[i], 2, 16, QChar('0')).toUpper();
      }
      if (f.Bytes.size() > shown) hex += QString("… (%1 bytes)").arg(f.Bytes.size());
      return hex.trimmed();
    }
    case Meaning: {
      const QString outcome = OutcomeText(f);
      const QString meaning = DescribeFrame(f.Bytes, f.Direction);
      return outcome.isEmpty() ? meaning : meaning + "; " + outcome;
    }
    default:
      return {};
  }
}

QVariant LinkFrameModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeaders[ColumnCount] = {"Time (s)", "", "Bytes", "Meaning"};
  return section >= 0 && section < ColumnCount ? kHeaders[section] : QVariant();
}
