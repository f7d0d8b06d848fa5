#pragma once

#include <QList>
#include <QString>

namespace marlo {

// One song of a lyrics search: the title shown in the chooser and the server's id for it.
struct LyricsHit {
    QString title;
    QString id;
};

// Asks the user which of several songs to take. Implemented by the song chooser window; a fetch
// without one takes the first hit.
class SongChooser {
  public:
    virtual ~SongChooser() = default;
    // The index (from 0) of the chosen hit; the first line is selected when the chooser opens.
    virtual int chooseSong(const QList<LyricsHit>& hits) = 0;
};

}  // namespace marlo
