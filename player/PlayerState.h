#pragma once

#include <QString>
#include <QtGlobal>

namespace marlo {

// Which device carries the current item; decides how pause, resume, stop and seek act.
enum class PlaybackRoute { None, AudioDevice, Streaming, ModuleLibrary, Cd, Video, Picture };

// The one state of the player. All flags start false, strings empty.
struct PlayerState {
    bool playing = false;
    bool paused = false;
    bool loadOnly = false;     // the next start only loads: no extraction, no play command
    bool closeViewer = false;  // the next stop also closes the video window or picture viewer
    bool blinkShowsTitle = false;

    QString title;
    QString path;
    QString artist;
    QString itemType;
    QString archivePath;  // set while the item is an archive member
    qint64 length = 0;    // ms; modules: song length in positions; pictures: entry count

    int cdTrack = 0;
    int cdTrackCount = 0;
    QString cdId;

    // Bookkeeping of this engine beyond the fields above.
    PlaybackRoute route = PlaybackRoute::None;
    QString entryText;            // list entry of the item, to find it again after a list change
    QString extractedFile;        // archive member written for playing; deleted at stop
    bool fileFoundShown = false;  // the blink showed "found" once; the next tick reloads
};

}  // namespace marlo
