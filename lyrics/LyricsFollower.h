#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>

#include "lyrics/LrclibLookup.h"
#include "lyrics/LyricsHost.h"
#include "lyrics/SyncedLyrics.h"

namespace marlo {

class DisplayLyrics;

// The lyrics window for audio items and modules: finds the item's lyrics, asks the lyrics
// server in the background when it has none, and, while the window is shown, lights the line
// (and word) being sung. It wakes only when the player reports a change and at the times the
// next line or word is due; nothing runs while the window is hidden.
class LyricsFollower : public QObject {
    Q_OBJECT

  public:
    // The longest a scheduled wake-up waits, and the shortest: a device whose position lags
    // behind a line's time is asked again soon after.
    static constexpr int kLongestWaitMs = 2000;
    static constexpr int kShortestWaitMs = 10;
    // A reported change that moves the position this much from where it should be is a seek.
    static constexpr int kJumpMs = 150;
    // Offset steps are stored once the keys rest this long.
    static constexpr int kStoreDelayMs = 1000;

    LyricsFollower(DisplayLyrics& window, LyricsPlayer& player, QObject* parent = nullptr);
    ~LyricsFollower() override;

    void setStore(ItemLyricsStore* store) { store_ = store; }
    // The lyrics server entry asked for items without lyrics; empty: none is asked.
    void setServer(std::function<QString()> server) { server_ = std::move(server); }
    void setLookupTimeoutMs(int ms) { lookup_.setTimeoutMs(ms); }

    // Shows the lyrics of the item and follows it from now on.
    void showItem(const NowPlaying& item);
    // The window no longer belongs to an audio item (a CD track shows in it).
    void stop();

    // Following playback: shown, with an item.
    bool active() const { return shown_ && following_; }
    bool looking() const { return lookup_.running(); }
    const SyncedLyrics& lyrics() const { return lyrics_; }
    void tick();

  private:
    void shownChanged(bool shown);
    void display(const SyncedLyrics& lyrics);
    void lookUp();
    void lineClicked(int line);
    void offsetStep(int ms);
    void storeOffset();
    void refreshLight();
    // The next wake-up: when the next line or word is due, while the position runs.
    void schedule();
    // Whether a change the player reported matters: another item, a pause or resume, a seek.
    bool changedSinceSync();

    DisplayLyrics& window_;
    LyricsPlayer& player_;
    ItemLyricsStore* store_ = nullptr;
    std::function<QString()> server_;
    LrclibLookup lookup_;
    QTimer due_;     // the next line or word
    QTimer resync_;  // a change the player reported, handled once the player is done with it
    struct {
        bool running = false;
        qint64 positionMs = 0;
        QElapsedTimer clock;
    } synced_;  // the player as the last wake-up found it
    QTimer storeDelay_;
    bool following_ = false;
    bool shown_ = false;
    QString key_;
    NowPlaying item_;
    QString album_;
    SyncedLyrics lyrics_;
    bool needsLookup_ = false;
    int litLine_ = -2;
    int litWord_ = -2;
    // Items the server had nothing for, asked no more until the program ends.
    QSet<QString> notFound_;
};

}  // namespace marlo
