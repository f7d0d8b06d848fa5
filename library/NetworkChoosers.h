#pragma once

#include <QPointer>

#include "cd/CloseMatchChooser.h"
#include "lyrics/SongChooser.h"

class QWidget;

namespace marlo {

class MatchChooser;
class SongSelect;

// The two choosers the item editor's network lookups ask when a reply offers several entries:
// the close matches of a CD database query and the songs of a lyrics search. Each window is
// made on first use, modal over the item editor.
class NetworkChoosers final : public CloseMatchChooser, public SongChooser {
  public:
    explicit NetworkChoosers(QWidget* owner) : owner_(owner) {}
    ~NetworkChoosers() override;
    NetworkChoosers(const NetworkChoosers&) = delete;
    NetworkChoosers& operator=(const NetworkChoosers&) = delete;

    int choose(const QList<CloseMatch>& matches, int left, int top) override;
    int chooseSong(const QList<LyricsHit>& hits) override;

  private:
    QWidget* owner_;
    // Children of the owner, so they go with it; the pointers learn when they did.
    QPointer<MatchChooser> matches_;
    QPointer<SongSelect> songs_;
};

}  // namespace marlo
