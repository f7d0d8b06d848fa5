#include "library/NetworkChoosers.h"

#include "cd/MatchChooser.h"
#include "lyrics/SongSelect.h"

namespace marlo {

NetworkChoosers::~NetworkChoosers() = default;

int NetworkChoosers::choose(const QList<CloseMatch>& matches, int left, int top) {
    if (matches_.isNull()) {
        matches_ = new MatchChooser(owner_);
    }
    return matches_->choose(matches, left, top);
}

int NetworkChoosers::chooseSong(const QList<LyricsHit>& hits) {
    if (songs_.isNull()) {
        songs_ = new SongSelect(owner_);
    }
    return songs_->chooseSong(hits);
}

}  // namespace marlo
