#include "library/ArchiveList.h"

#include <algorithm>

namespace marlo {
namespace {

bool lessNoCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

}  // namespace

int ArchiveList::add(const QString& title) {
    const auto place = std::upper_bound(titles_.cbegin(), titles_.cend(), title, lessNoCase);
    const int row = static_cast<int>(place - titles_.cbegin());
    insertAt(row, title);
    return row;
}

void ArchiveList::addMany(const QStringList& titles) {
    if (titles.isEmpty()) {
        return;
    }
    beginResetModel();
    titles_.append(titles);
    std::stable_sort(titles_.begin(), titles_.end(), lessNoCase);
    endResetModel();
}

QString ArchiveList::takeAt(int row) {
    return removeAt(row);
}

QStringList ArchiveList::takeRows(QList<int> rows) {
    rows.removeIf([this](int row) { return row < 0 || row >= count(); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Runs of adjacent rows: [first, last] pairs, top to bottom.
    QList<std::pair<int, int>> runs;
    for (const int row : rows) {
        if (!runs.isEmpty() && runs.last().second == row - 1) {
            runs.last().second = row;
        } else {
            runs.append({row, row});
        }
    }
    QStringList taken;
    taken.reserve(rows.size());
    for (const int row : rows) {
        taken.append(titles_.at(row));
    }
    if (runs.size() > kMaxSeparateRemovals) {
        // Many scattered rows: one reset costs less than a removal (and view update) per run.
        QStringList kept;
        kept.reserve(titles_.size() - rows.size());
        qsizetype next = 0;
        for (int row = 0; row < count(); ++row) {
            if (next < rows.size() && rows.at(next) == row) {
                ++next;
            } else {
                kept.append(titles_.at(row));
            }
        }
        beginResetModel();
        titles_ = std::move(kept);
        endResetModel();
        return taken;
    }
    // From the bottom up, so the rows above a removed run keep their numbers.
    for (auto run = runs.crbegin(); run != runs.crend(); ++run) {
        removeRange(run->first, run->second);
    }
    return taken;
}

QStringList ArchiveList::takeAll() {
    return removeAll();
}

void ArchiveList::clear() {
    takeAll();
}

int ArchiveList::find(const QString& title) const {
    int low = 0;
    int high = count() - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;  // starts at (count - 1) / 2
        const int order = title.compare(titles_.at(middle), Qt::CaseInsensitive);
        if (order == 0) {
            return middle;
        }
        if (order < 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return -1;
}

}  // namespace marlo
