#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace marlo {

// The item the lyrics window follows, as the player above sees it.
struct NowPlaying {
    enum class Kind { None, CdTrack, AudioFile, Module };
    Kind kind = Kind::None;
    QString title;  // the item's title, under which its lyrics are stored
    QString artist;
    QString mediaPath;  // the file that plays (an archive member's extracted copy)
    QString ownPath;    // the file in the user's folders, whose ".lrc" may lie beside it
    qint64 lengthMs = 0;
};

// What the lyrics window needs of the player: what plays, where it is, and a seek.
class LyricsPlayer {
  public:
    virtual ~LyricsPlayer() = default;
    // Cheap, asked every tick: changes whenever another item is current.
    virtual QString currentKey() = 0;
    virtual NowPlaying nowPlaying() = 0;
    virtual qint64 positionMs() = 0;
    // The position moves on by itself (an item plays and is not paused).
    virtual bool running() = 0;
    virtual bool canSeek() = 0;
    virtual void seekTo(qint64 ms) = 0;
    // Called whenever what plays, whether it runs or where it stands may have changed: another
    // item, a transport button, a seek, the time shown moving on.
    virtual void setChangeListener(std::function<void()> listener) = 0;
};

// Lyrics kept for audio items in the item store.
class ItemLyricsStore {
  public:
    virtual ~ItemLyricsStore() = default;
    virtual std::optional<QByteArray> storedLyrics(const QString& title) = 0;
    virtual void storeLyrics(const QString& title, const QByteArray& lyrics) = 0;
};

}  // namespace marlo
