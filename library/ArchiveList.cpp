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
