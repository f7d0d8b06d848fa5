#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include "library/ItemRecord.h"

namespace marlo {

class CdBase;
class LibrarySession;
class Lyric;
struct Settings;

// The item editor's hand-over to SaveItem.
struct ItemEditorFields {
    QString title;         // `Text1`
    QString path;          // `Text2`
    QString artist;        // `Text3`
    QString editedTitle;   // the title when editing began; empty for a new item
    bool autoAdd = false;  // set by file dropping: the title goes into the playback list

    void clear() {
        title.clear();
        path.clear();
        artist.clear();
    }
};

// A CD's information while the item editor enters it track by track.
struct CdDraft {
    QString discId;
    QString album;
    int currentTrack = 1;
    int trackCount = 0;
    QList<CdTrackInfo> tracks;  // track n at index n - 1
};

// What the item editor does, without its window: the fields SaveItem reads, and in CD mode the
// disc's information entered by hand track by track, looked up in the CD database, and the
// lyrics of every track fetched and stored. Messages go through the session's prompts; the
// exchanges of the CD database and lyrics clients are reported through `logged`.
class ItemEditor : public QObject {
    Q_OBJECT
  public:
    explicit ItemEditor(LibrarySession& session, QObject* parent = nullptr);
    ~ItemEditor() override;

    LibrarySession& session() { return session_; }
    ItemEditorFields fields;
    CdDraft cd;

    // Edit: the item's record into the fields, `editedTitle` set. A missing record keeps the
    // title and leaves path and artist empty, so saving does not rename the item.
    void loadItem(const QString& title);

    // ---- CD mode ----------------------------------------------------------------------------
    // The CD database and lyrics clients (`CdBase1`, `Lyric1`); created with the editor.
    CdBase& cdBase() { return *cdBase_; }
    Lyric& lyric() { return *lyric_; }
    // The remembered e-mail address of the lookups lives in the settings when there are some.
    void setSettings(Settings* settings) { settings_ = settings; }
    // While a lookup or the lyrics run waits on the network, the busy pointer shows.
    void setBusyPointer(std::function<void(bool)> busy) { busyPointer_ = std::move(busy); }

    // CD mode begins: the disc's id and track count from the drive, an empty draft, the title
    // field "Track 1". False when the drive holds no readable disc.
    bool beginCd();
    // Next Track: the current track's title and artist into the draft. After the last track the
    // draft is stored as the disc's information record and true is returned (CD mode ends);
    // otherwise the next track's title field reads "Track n".
    bool nextTrack();
    // The CD database lookup for the disc with the server box's "host port"; every track's
    // title and artist and the album are stored as the disc's information record. False (after
    // a message titled "CDDB Control") when no entry was read.
    bool lookup(const QString& serverText);
    // "Lyrics" for every track of the disc from the lyrics server `server`; a record without
    // album is looked up first with `cddbServerText`. A search that finds nothing for an artist
    // beginning with "The " is tried once more without those four characters. Returns the
    // number of tracks whose lyrics were stored.
    int lyricsForAllTracks(const QString& cddbServerText, const QString& server);

  signals:
    // Text for the server log (`Serverlog`), appended at its end.
    void logged(const QString& text);

  private:
    void storeDraft();
    bool ensureEmail();
    void busy(bool on);

    LibrarySession& session_;
    Settings* settings_ = nullptr;
    CdBase* cdBase_;
    Lyric* lyric_;
    std::function<void(bool)> busyPointer_;
};

}  // namespace marlo
