#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "base/Catalogue.h"
#include "library/ArchiveAccess.h"
#include "player/DisplayModel.h"
#include "player/FileRoutes.h"
#include "player/PlaybackRoutes.h"
#include "player/PlayerState.h"

namespace marlo {

class CollectionChooser;
class ItemStore;
class LibrarySession;
class MediaDevice;
class ModuleLibrary;
class PlaybackList;
class Prompts;
class StreamingControl;
struct Settings;

// What of the library the engine uses: the kind shown, the playback list, the items, and the
// prompts through which archive failures are told.
struct EngineLibrary {
    const CollectionChooser& chooser;
    PlaybackList& playback;
    ItemStore& store;
    Prompts& prompts;

    static EngineLibrary of(LibrarySession& session);
};

// The entry that plays after entry `index` of `count` has ended by itself, by "Repeat all" and
// "Repeat one"; a slideshow goes on through its list as with "Repeat all" short of the last
// picture. -1: playback ends there.
int entryAfterEnd(int index, int count, bool repeatAll, bool repeatOne, bool slideshow);

// The devices the engine drives for files; the window owns them.
struct PlaybackDevices {
    MediaDevice& audio;
    StreamingControl& streaming;
    ModuleLibrary& modules;
};

// Plays the selected entry of the playback list by its kind, serves the transport buttons, fills
// the display model and decides what follows an item. Each device is driven through its route:
// the file routes are the engine's own, the CD, video and picture routes are handed in; without
// one of those such a list shows that it cannot play and stops.
class PlaybackEngine : public QObject {
    Q_OBJECT
  public:
    static constexpr int kBlinkIntervalMs = 1000;
    static constexpr int kReadyWaitMs = 10000;

    // Archive members are extracted into `extractFolder` (the program folder's "Extracted/"),
    // never into the program folder itself, so a member cannot replace the configuration.
    PlaybackEngine(EngineLibrary library, Settings& settings, PlaybackDevices devices,
                   DisplayModel& display, QString extractFolder, QObject* parent = nullptr);
    ~PlaybackEngine() override;

    void setRoutes(CdRoute* cd, VideoRoute* video, PictureRoute* pictures);
    // A shaped skin hides the module volume bar.
    void setShapedSkin(bool shaped) { shapedSkin_ = shaped; }

    const PlayerState& state() const { return state_; }
    // The title of a missing file blinks until it is back.
    bool blinking() const { return blinker_.isActive(); }
    // The current route is asked for its position at its interval.
    bool polling() const { return pollTimer_.isActive(); }
    // Opening the collection editor ends the blink of a missing file.
    void stopBlinking() { blinker_.stop(); }
    // How long a start waits for the streaming control to get ready.
    void setReadyWaitLimit(int ms) { streaming_.setReadyWaitLimit(ms); }
    int moduleVolume() const { return volume_; }

    // Operations of the player.
    void startCurrentItem();
    void beginPlayback();
    void stopCurrentItem();
    void itemFinished();
    void moduleFinished();
    void takeOverPlaybackList();
    // Loads the selected entry without playing: title and length show, the device is released.
    void loadCurrentItem();
    // Previous and Next show whether they lead anywhere from the selected entry; the settings
    // dialog asks for it after the repeat options may have changed.
    void refreshPreviousNext();

    // Transport buttons (a release inside the button).
    void play();
    void pause();
    void stop();
    void next();
    void previous();
    // Enter in the picture viewer: the stop step with the viewer closed.
    void stopAndCloseViewer();
    // Keys of the main window and the video window: 32 Play/Pause, 33 Previous, 34 Next.
    void remoteKey(int keyCode);

    // A left click on the position bar at this fraction of its width.
    void seek(double fraction);
    // `VScroll1`/`HScroll1` moved: 0..1000.
    void setModuleVolume(int level);
    // Elapsed time of the current item from a route (CD, video window).
    void showElapsed(qint64 elapsedMs);

    // One tick of `Blinker`, and one of the poll of the current route (`Zeitmod` for modules,
    // the streaming control's timer); the timers call these, tests call them directly.
    void blinkTick();
    void pollTick();

  signals:
    // Take over the playback list shows the main window.
    void showMainWindow();
    // Mouse pointer as hourglass while an archive member is extracted.
    void busyChanged(bool busy);
    // An item stopped: the collection editor refreshes its counts.
    void itemStopped();
    // The item moved to this part of its length, by whoever asked.
    void seeked(double fraction);

  private:
    enum class Outcome { Done, Failed, Ended };

    Outcome runStart();
    Outcome fetchRecord();
    Outcome dispatch(const QString& playPath, bool member);
    void seekStreaming(double fraction);
    Outcome startRoute(PlaybackRouteBase* route, PlaybackRoute which, const QString& path);
    Outcome routeUnavailable(const TextPair& text);
    void showDeviceError();
    Outcome refuseMember(const ArchiveMemberRef& member, ArchiveStatus status);
    // Deletes the member extracted for the current item and the folders extraction made for it.
    void removeExtracted();
    void showItem(bool member);
    void finishStart();
    void releaseAfterLoad();
    void closeViewersOfOtherKinds();

    void pauseRoute();
    void resumeRoute();
    void startPolling();
    void selectAndContinue(bool playing);
    // The device of a playing file is given the file that the end-of-item rule goes on to, to
    // join it without a gap; asked again whenever what follows may have changed.
    void scheduleNextPreparation();
    void prepareNextItem();
    // That file, when it goes through the same device as a plain file; empty otherwise.
    QString gaplessFollower() const;

    void onAudioStatus();
    void onAudioDone();
    void onStreamingDone();
    bool isModuleType() const;

    // Commands arriving while a start waits for a device run after that start.
    bool deferWhileStarting(std::function<void()> action);
    void runDeferred();

    // The state the windows see goes through the display model as it changes.
    void setPlaying(bool playing);
    void setPaused(bool paused);
    void setItemType(const QString& type);

    PlaybackRouteBase* routeFor(PlaybackRoute route);
    bool isMp3Type() const;
    bool lastEntry() const;
    int filterMode() const;
    QString artistText() const;
    bool missingFileIsBack() const;

    EngineLibrary library_;
    Settings& settings_;
    PlaybackDevices devices_;
    DisplayModel& display_;
    QString extractFolder_;
    ArchiveAccess archives_;
    CdRoute* cd_ = nullptr;
    VideoRoute* video_ = nullptr;
    PictureRoute* pictures_ = nullptr;

    PlayerState state_;
    AudioDeviceRoute audio_;
    StreamingRoute streaming_;
    ModuleRoute modules_;
    QTimer blinker_;
    QTimer pollTimer_;
    QTimer prepareTimer_;
    // Folders that did not exist before the current member was extracted, outermost first.
    QStringList extractedFolders_;
    int volume_ = 100;
    bool shapedSkin_ = false;
    bool starting_ = false;
    QList<std::function<void()>> deferred_;
};

}  // namespace marlo
