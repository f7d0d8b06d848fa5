#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace marlo {

class DisplayLyrics;
class ItemLyricsStore;
class LyricsFollower;
class LyricsPlayer;
class Prompts;

// Where the stored lyrics of the current CD track come from; implemented by the library, which
// holds the playback list and the item store.
class CdLyricsSource {
  public:
    virtual ~CdLyricsSource() = default;
    // The selected line of the playback list ("nn  title" on a CD list), empty when none.
    virtual QString selectedPlaylistLine() = 0;
    // The id of the disc opened last.
    virtual QString lastDiscId() = 0;
    // The "Album" entry of the disc's information record, empty when there is none.
    virtual QString albumOf(const QString& discId) = 0;
    // The stored lyrics member of a track (UTF-8 text), nullopt when there is none.
    virtual std::optional<QByteArray> lyricsOf(const QString& discId, int track) = 0;
};

// `ShowLyrics` and the lyrics-window flag that the playback engine and the popup menu share.
// CD tracks show their stored lyrics; with a player to follow, every other audio item shows its
// own and the window follows the music.
class LyricsDisplay : public QObject {
    Q_OBJECT

  public:
    LyricsDisplay(CdLyricsSource& source, Prompts& prompts, QObject* parent = nullptr);
    ~LyricsDisplay() override;

    // The player whose items the window follows, the store of their lyrics and the lyrics
    // server entry asked when an item has none. Without a player only CD tracks show.
    void follow(LyricsPlayer& player, ItemLyricsStore* store, std::function<QString()> server);
    LyricsFollower* follower() const { return follower_.get(); }

    // Shows the lyrics of the current song: for a CD track its stored lyrics, or says they are
    // missing; for other items what they have.
    void showLyrics();
    // The popup menu's uncheck: clears the flag and hides the window.
    void hideLyrics();

    bool windowWanted() const { return wanted_; }
    DisplayLyrics& window() { return *window_; }

    // The text of a stored lyrics file: each line followed by CR LF, except that an empty line
    // that is not the last is replaced by the line after it, which undoes the doubled line
    // ends stored lyrics carry.
    static QString windowText(const QByteArray& file);

  signals:
    // The flag changed; the popup menu's check mark follows it.
    void windowWantedChanged(bool wanted);

  private:
    void setWanted(bool wanted);
    void showMissing();

    void showCdTrack();

    CdLyricsSource& source_;
    Prompts& prompts_;
    DisplayLyrics* window_;
    LyricsPlayer* player_ = nullptr;
    std::unique_ptr<LyricsFollower> follower_;
    bool wanted_ = false;
};

}  // namespace marlo
