#pragma once
// The model behind a media list control: it reads the list's rows as they
// are, so the control only has to be told to redraw after a change.

#include <QAbstractListModel>
#include <functional>

#include "channel/MediaList.h"

namespace corvane {

// The rows' texts for the view and for screen readers, and what a row's
// tooltip says about its file.
class MediaRowsModel final : public QAbstractListModel {
 public:
  MediaRowsModel(const MediaList& rows, QObject* parent)
      : QAbstractListModel(parent), rows_(rows) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.RowCount());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::ToolTipRole) return toolTip_ ? toolTip_(index.row()) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    const std::string_view row = rows_.Row(static_cast<std::size_t>(index.row()));
    return QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size()));
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }

  void SetToolTip(std::function<QString(int)> toolTip) { toolTip_ = std::move(toolTip); }

 private:
  const MediaList& rows_;
  std::function<QString(int)> toolTip_;
};

}  // namespace corvane
