#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <atomic>
#include <memory>

namespace marlo {

class PcmOutput;
class PcmSource;

// Plays one PcmSource at a time through PcmOutput: play from a place, pause, stop, the
// position heard and the end. A follower set with setNext() goes on in the same stream where
// the source ends, with not a frame between them. Sources stay their owner's; setSource(nullptr)
// or setNext(nullptr) before one goes.
class PcmPlayer : public QObject {
    Q_OBJECT
  public:
    // An empty pcmFile plays to the sound server; otherwise the sound is written there as raw
    // 16-bit stereo PCM, as fast as it renders (see PcmOutput::setSinkFile).
    explicit PcmPlayer(QObject* parent = nullptr, const QString& pcmFile = QString());
    ~PcmPlayer() override;

    // Stops what plays and takes the next source from its start.
    void setSource(PcmSource* source);
    PcmSource* source() const { return source_; }
    // The source that follows the current one without a gap; nullptr takes it back. Whatever
    // of it was already rendered behind the current one's end is thrown away.
    void setNext(PcmSource* next);
    PcmSource* next() const { return next_; }

    // Plays on from where it is, from the start once it has ended, or from `fromMs` (>= 0).
    void play(qint64 fromMs = -1);
    // Holds the sound where it is; play() goes on.
    void pause();
    // Ends the sound; the next play() starts the output afresh.
    void stop();
    // Moves without playing: the next play() starts there.
    void seek(qint64 ms);
    bool isPlaying() const { return playing_; }

    qint64 lengthMs() const;
    // What is heard: the source is ahead by what the sound server still holds.
    qint64 positionMs() const;

  signals:
    // The source ended and its last sound was heard.
    void ended();
    // The source's last frame was heard and the follower plays on: it is source() now.
    void advanced();

  private:
    int render(qint16* out, int frames);
    void checkJoinHeard();
    // The follower goes back to its start, to be joined again where the source ends.
    void rewindJoin();

    std::unique_ptr<PcmOutput> pcm_;
    PcmSource* source_ = nullptr;
    PcmSource* next_ = nullptr;
    // Rendered from: the source, or once its end was rendered, the follower. Under lockSource().
    PcmSource* rendering_ = nullptr;
    std::atomic<qint64> joinFrame_ = -1;  // frames pulled when the source ended; -1: none yet
    QTimer joinTimer_;                    // watches the join until it is heard
    bool playing_ = false;
};

}  // namespace marlo
