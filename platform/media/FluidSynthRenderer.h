#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/media/PcmSource.h"
#include "platform/media/PeakLimiter.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

namespace marlo {

// Renders a Standard MIDI File with FluidSynth and the General MIDI soundfont into 16-bit stereo
// PCM, on demand and without an audio driver: whoever plays the sound pulls it from here.
class FluidSynthRenderer : public PcmSource {
  public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

    FluidSynthRenderer();
    ~FluidSynthRenderer() override;
    FluidSynthRenderer(const FluidSynthRenderer&) = delete;
    FluidSynthRenderer& operator=(const FluidSynthRenderer&) = delete;

    // Checks the file's structure and prepares playback from its start; false (and
    // errorText()) for a missing, empty, foreign or damaged file or a missing soundfont.
    bool load(const QString& path);
    QString errorText() const { return error_; }

    // Fills up to `frames` stereo frames; returns how many were written, 0 once the music has
    // ended (last tick reached and every voice silent).
    int render(int16_t* out, int frames) override;
    bool atEnd() const override { return ended_; }

    qint64 lengthMs() const override { return lengthMs_; }
    qint64 positionMs() const override { return framesDone_ * 1000 / kSampleRate; }
    // Moves to a point in the music; the sound there starts with the notes struck from then on.
    void seekMs(qint64 ms) override;

    static QString defaultSoundFont();

    // The text (type 1) and lyric (type 5) meta events of a MIDI file in time order, timed by
    // its tempo map; empty for a file that does not load.
    struct TimedText {
        qint64 ms;
        int type;
        QByteArray text;
    };
    static std::vector<TimedText> textEvents(const QByteArray& file);

  private:
    struct TempoChange {
        qint64 tick;
        double usPerTick;
        double msAtTick;
    };
    bool scan(const QByteArray& data);
    bool startPlayer(qint64 fromTick);
    void release();
    double tickToMs(qint64 tick) const;
    qint64 msToTick(qint64 ms) const;

    QByteArray clean_;  // the file as the synthesizer gets it
    QString error_;
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    _fluid_player_t* player_ = nullptr;
    std::vector<TempoChange> tempo_;
    std::vector<std::pair<qint64, TimedText>> texts_;  // by tick, as scanned
    qint64 totalTicks_ = 0;
    qint64 lengthMs_ = 0;
    qint64 framesDone_ = 0;
    qint64 tailFrames_ = 0;
    bool ended_ = true;
    std::vector<float> block_;  // one block as the synthesizer renders it
    PeakLimiter limiter_;
};

}  // namespace marlo
