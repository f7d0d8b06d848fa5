#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace marlo {

class PcmOutput;
class PcmSource;

// Plays one PcmSource at a time through PcmOutput: play from a place, pause, stop, the
// position heard and the end. The source stays its owner's; setSource(nullptr) before it goes.
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

  private:
    std::unique_ptr<PcmOutput> pcm_;
    PcmSource* source_ = nullptr;
    bool playing_ = false;
};

}  // namespace marlo
