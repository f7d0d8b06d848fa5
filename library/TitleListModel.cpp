#include "library/TitleListModel.h"

namespace marlo {

int TitleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant TitleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return titles_.at(index.row());
}

void TitleListModel::insertAt(int row, const QString& title) {
    beginInsertRows({}, row, row);
    titles_.insert(row, title);
    endInsertRows();
}

QString TitleListModel::removeAt(int row) {
    beginRemoveRows({}, row, row);
    QString title = titles_.takeAt(row);
    endRemoveRows();
    return title;
}

QStringList TitleListModel::removeRange(int first, int last) {
    beginRemoveRows({}, first, last);
    QStringList taken = titles_.mid(first, last - first + 1);
    titles_.remove(first, last - first + 1);
    endRemoveRows();
    return taken;
}

QStringList TitleListModel::removeAll() {
    beginResetModel();
    QStringList all = std::move(titles_);
    titles_ = QStringList();
    endResetModel();
    return all;
}

}  // namespace marlo
