#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

namespace marlo {

class DisplayLyrics;
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
class LyricsDisplay : public QObject {
    Q_OBJECT

  public:
    LyricsDisplay(CdLyricsSource& source, Prompts& prompts, QObject* parent = nullptr);
    ~LyricsDisplay() override;

    // Shows the stored lyrics of the selected CD track, or says they are missing.
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

    CdLyricsSource& source_;
    Prompts& prompts_;
    DisplayLyrics* window_;
    bool wanted_ = false;
};

}  // namespace marlo
