#include "lyrics/ItemLyrics.h"

#include <QFile>
#include <QFileInfo>

#include "lyrics/FileLyrics.h"
#include "lyrics/LrcParse.h"

namespace marlo {

namespace {

bool isMidi(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("mid") || suffix == QLatin1String("midi") ||
           suffix == QLatin1String("kar") || suffix == QLatin1String("rmi");
}

}  // namespace

ItemLyrics ItemLyrics::find(const NowPlaying& item, ItemLyricsStore* store) {
    ItemLyrics found;
    if (item.kind != NowPlaying::Kind::AudioFile) {
        return found;
    }
    if (store != nullptr) {
        if (const std::optional<QByteArray> stored = store->storedLyrics(item.title)) {
            found.lyrics = parseLrc(*stored);
            if (!found.lyrics.isEmpty()) {
                found.stored = true;
                return found;
            }
        }
    }
    if (!item.ownPath.isEmpty()) {
        found.lyrics = filelyrics::fromLrcBeside(item.ownPath);
        if (!found.lyrics.isEmpty()) {
            return found;
        }
    }
    if (item.mediaPath.isEmpty()) {
        return found;
    }
    found.lyrics = filelyrics::fromTags(item.mediaPath, &found.album);
    if (found.lyrics.isEmpty() && isMidi(item.mediaPath)) {
        QFile file(item.mediaPath);
        if (file.size() <= filelyrics::kMaxLrcBytes && file.open(QIODevice::ReadOnly)) {
            found.lyrics = filelyrics::fromMidi(file.readAll());
        }
    }
    return found;
}

}  // namespace marlo
