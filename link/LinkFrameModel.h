#pragma once
// The frames of the link log as a table (time, direction, bytes, meaning), all of them or
// the errors only. Refresh() takes the log's frames anew; the view asks only for the rows
// it shows, so 2000 frames cost nothing.

#include <QAbstractTableModel>
#include <vector>

#include "link/LinkLog.h"

class LinkFrameModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { Time, Direction, Bytes, Meaning, ColumnCount };

  explicit LinkFrameModel(const LinkLog& log, QObject* parent = nullptr);

  void SetErrorsOnly(bool errorsOnly);
  bool ErrorsOnly() const { return errorsOnly_; }
  // Takes the log's frames again when they changed; true when it did.
  bool Refresh();
  const LoggedFrame& Frame(int row) const { return log_.At(rows_[static_cast<size_t>(row)]); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const LinkLog& log_;
  std::vector<size_t> rows_;  // log positions shown
  uint64_t version_ = ~0ull;
  bool errorsOnly_ = false;
};
