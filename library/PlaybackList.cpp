#include "library/PlaybackList.h"

namespace marlo {

int PlaybackList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant PlaybackList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return titles_.at(index.row());
}

void PlaybackList::append(const QString& title) {
    beginInsertRows({}, count(), count());
    titles_.append(title);
    endInsertRows();
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
    beginRemoveRows({}, row, row);
    QString title = titles_.takeAt(row);
    endRemoveRows();
    if (row == selected_) {
        setSelectedIndex(-1);
    } else if (row < selected_) {
        setSelectedIndex(selected_ - 1);
    }
    return title;
}

QStringList PlaybackList::takeAll() {
    setSelectedIndex(-1);
    beginResetModel();
    QStringList all = std::move(titles_);
    titles_ = QStringList();
    endResetModel();
    return all;
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
