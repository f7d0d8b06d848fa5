#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace marlo {

// A list of titles that a list widget shows directly. The archive list and the playback list
// differ only in where titles go and what a removal does to a selection.
class TitleListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int count() const { return static_cast<int>(titles_.size()); }
    const QString& at(int row) const { return titles_.at(row); }
    const QStringList& titles() const { return titles_; }

  protected:
    void insertAt(int row, const QString& title);
    QString removeAt(int row);
    // Rows first..last (inclusive) in one removal.
    QStringList removeRange(int first, int last);
    QStringList removeAll();

    QStringList titles_;
};

}  // namespace marlo
