#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace marlo {

// The playback list (`Liste2`): titles in play order and the selected entry, which is the current
// item (-1: none). On a CD list the entries are "nn  title".
class PlaybackList : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int count() const { return static_cast<int>(titles_.size()); }
    const QString& at(int row) const { return titles_.at(row); }
    const QStringList& titles() const { return titles_; }

    void append(const QString& title);
    void appendMany(const QStringList& titles);
    // Removing the selected entry leaves no selection; entries above it keep it on its title.
    QString takeAt(int row);
    QStringList takeAll();
    void clear();

    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int row);  // out of range selects nothing
    // The selected title, empty when nothing is selected.
    QString selectedTitle() const;

  signals:
    void selectedIndexChanged(int row);

  private:
    QStringList titles_;
    int selected_ = -1;
};

}  // namespace marlo
