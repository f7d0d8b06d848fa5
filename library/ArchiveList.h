#pragma once

#include <QStringList>

#include "library/TitleListModel.h"

namespace marlo {

// The archive list (`Liste1`): titles of the open collection that are not in the playback list,
// always sorted without regard to case. The duplicate test of saving relies on the order.
class ArchiveList : public TitleListModel {
    Q_OBJECT
  public:
    static constexpr int kMaxSeparateRemovals = 32;

    using TitleListModel::TitleListModel;

    // Inserts in sorted place (after titles that compare equal); returns the row.
    int add(const QString& title);
    // Adds many with one sort, for loading a whole collection.
    void addMany(const QStringList& titles);
    QString takeAt(int row);
    // The titles of these rows, top to bottom. Runs of adjacent rows go in one removal each, so
    // a list view keeps its place; a selection scattered over many runs goes in one reset.
    QStringList takeRows(QList<int> rows);
    QStringList takeAll();
    void clear();

    // Binary search without regard to case: row of a matching title, -1 when there is none.
    int find(const QString& title) const;
};

}  // namespace marlo
