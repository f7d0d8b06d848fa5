#include "library/PlaybackList.h"

namespace marlo {

void PlaybackList::append(const QString& title) {
    insertAt(count(), title);
}

void PlaybackList::appendMany(const QStringList& titles) {
    if (titles.isEmpty()) {
        return;
    }
    beginInsertRows({}, count(), count() + static_cast<int>(titles.size()) - 1);
    titles_.append(titles);
    endInsertRows();
}

QString PlaybackList::takeAt(int row) {
    QString title = removeAt(row);
    if (row == selected_) {
        setSelectedIndex(-1);
    } else if (row < selected_) {
        setSelectedIndex(selected_ - 1);
    }
    return title;
}

QStringList PlaybackList::takeAll() {
    setSelectedIndex(-1);
    return removeAll();
}

void PlaybackList::clear() {
    takeAll();
}

void PlaybackList::setSelectedIndex(int row) {
    const int wanted = row >= 0 && row < count() ? row : -1;
    if (wanted != selected_) {
        selected_ = wanted;
        emit selectedIndexChanged(selected_);
    }
}

QString PlaybackList::selectedTitle() const {
    return selected_ >= 0 ? titles_.at(selected_) : QString();
}

}  // namespace marlo
