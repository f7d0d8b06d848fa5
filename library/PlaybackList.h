#pragma once

#include <QStringList>

#include "library/TitleListModel.h"

namespace marlo {

// The playback list (`Liste2`): titles in play order and the selected entry, which is the current
// item (-1: none). On a CD list the entries are "nn  title".
class PlaybackList : public TitleListModel {
    Q_OBJECT
  public:
    using TitleListModel::TitleListModel;

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
    int selected_ = -1;
};

}  // namespace marlo
