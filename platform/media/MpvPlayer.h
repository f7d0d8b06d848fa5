#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>

struct mpv_handle;
struct mpv_event;

namespace marlo {

// One libmpv handle, for sound only unless made for video. Events arrive on the thread of this
// object: mpv's wakeup callback queues one drain of the event queue at a time.
class MpvPlayer : public QObject {
    Q_OBJECT
  public:
    enum class EndReason { Eof, Error, Stopped };

    // An empty pcmFile plays to the sound server (falling back to no output when there is
    // none); otherwise the decoded sound is written to that file as raw PCM, as fast as it
    // decodes, so only the sound is worth checking then, not the timing.
    explicit MpvPlayer(QObject* parent = nullptr, const QString& pcmFile = QString());
    enum class Output { Sound, SoundAndVideo };
    // With SoundAndVideo the picture goes to libmpv's render API (see MpvVideoPlayer), which
    // must be set up on handle() before the first file loads.
    explicit MpvPlayer(Output output, QObject* parent = nullptr);
    ~MpvPlayer() override;

    bool isValid() const { return handle_ != nullptr; }
    mpv_handle* handle() const { return handle_; }

    // Loads paused and waits until the file is ready to play or has failed (callers read length
    // and error right after opening). Window events go on meanwhile; false also when a stop or
    // another load from one of them took the player over.
    bool loadAndWait(const QString& path, int timeoutMs = 15000);
    // Loads paused; loaded() or ended(Error) follows.
    void loadAsync(const QString& path);
    void play();
    void pause();
    // Lets go of the file; sends no ended(). mpv keeps it paused until the next load replaces it,
    // so the sound output stays open and the next file starts without reopening it.
    void stop();
    void seek(double seconds);
    // Seeks and waits (without the Qt event loop) until mpv plays from there; paused, this
    // keeps already decoded sound from before the new position out of the output.
    bool seekAndWait(double seconds, int timeoutMs = 5000);

    bool isLoaded() const { return loaded_; }
    bool isPaused() const { return paused_; }
    // Seconds; negative when unknown (before the file is loaded, or for files without one).
    double duration() const;
    double position() const;

  signals:
    void loaded();
    // The current file ended; Stopped only when mpv dropped it for reasons of its own.
    void ended(marlo::MpvPlayer::EndReason reason);

  private:
    MpvPlayer(QObject* parent, const QString& pcmFile, Output output);
    void drain();
    // Handles mpv's events directly until `settled` holds; false after the time limit.
    bool waitFor(const std::function<bool()>& settled, int timeoutMs);
    // The same with window events going on; mpv's events stop being handled once `settled`
    // holds, so the caller sees the state that settled it.
    bool waitDispatching(const std::function<bool()>& settled, int timeoutMs);
    void handle(const mpv_event& event);
    void issueLoad(const QString& path);
    void setPaused(bool paused);
    // The output volume, 0..1.
    void setVolume(double level);
    void endOfDecoding();
    // The file played to its end: reported once, from whichever notice comes first.
    void reportEnd();
    // Asks mpv whether the file has ended once it should have, and again until it says so.
    void armEndCheck(int delayMs);
    // Milliseconds of the file still to play from the last known position.
    int untilEndMs() const;
    void askWhetherEnded();
    void cancelEndCheck();

    mpv_handle* handle_ = nullptr;
    std::atomic_bool drainQueued_ = false;
    bool loaded_ = false;
    bool loading_ = false;
    bool loadFailed_ = false;
    bool paused_ = true;
    // mpv has decoded the whole file; what is left plays from the server's buffer.
    bool decodingEnded_ = false;
    int drainLeftMs_ = 0;
    int restarts_ = 0;  // mpv's playback restarts since the file loaded
    quint64 loadRound_ = 0;
    std::function<bool()> settled_;  // of the dispatching wait under way
    bool loadReplied_ = false;       // mpv has taken the latest load  // counts loads and stops: a
                                     // waiting load sees it was overtaken
    double position_ = -1.0;
    double duration_ = -1.0;
    // Playlist entry of the current file: ends of earlier files are not ours to report.
    qint64 entryId_ = -1;
    // Fires when the sound heard reaches the file's length. mpv's own end notice comes only
    // after the sound server's buffer has drained and the output is closed, a second later.
    QTimer endTimer_;
    // mpv now and then leaves the end of a short file unannounced (no change of "eof-reached"
    // arrives, and with keep-open no end of file either): past the file's length it is asked.
    QTimer endCheck_;
    // Replies to questions asked before the last load, seek or stop are stale.
    quint64 endCheckRound_ = 0;
};

}  // namespace marlo
