#pragma once

#include <QByteArray>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/media/ModuleLibrary.h"
#include "platform/media/PeakLimiter.h"

namespace openmpt {
class module;
}

namespace marlo {

class PcmOutput;

// The module library over libopenmpt. A song renders once through (no fade, no loop inside
// libopenmpt); at its end a looping play starts again at order 0 and reports position 0, whatever
// restart position the module names, so a poller sees the position fall back to 0 exactly once
// per pass. One module plays at a time. The position reported is the one being heard: the sound
// server holds a while of sound ahead, so each rendered place is kept with its frame number until
// the server has played that far.
//
// Threading: rendering happens wherever the pull runs (the output pulls on the thread that owns
// it); every call here may come from another thread, as all module access is under one lock
// that is never held while the output is started or stopped.
class OpenMptModuleLibrary : public ModuleLibrary {
  public:
    enum class Output {
        SoundServer,  // plays through a PcmOutput on the calling thread
        None,         // nothing pulls: the owner calls render() (tests, offline use)
    };

    explicit OpenMptModuleLibrary(Output output = Output::SoundServer);
    ~OpenMptModuleLibrary() override;

    bool startup() override;
    bool init() override;
    bool startBackgroundPlay(int pollsPerSecond) override;
    bool openChannels(int channels) override;
    bool setAmplification(int level) override;
    bool setOption(int option, int value) override;
    int loadModule(const QString& path) override;
    bool getModuleInfo(int module, ModuleInfo& info) override;
    int playModule(int module, bool loop) override;
    bool getPlayStatus(int play, PlayStatus& status) override;
    bool setPosition(int play, int position) override;
    bool stopModule(int play) override;
    bool freeModule(int module) override;
    bool close() override;

    // The interpolation filter mode last set (0 none .. 3 automatic).
    int filterMode() const { return filterMode_; }

    // Renders the next frames of the playing module as interleaved 16-bit stereo at 44.1 kHz,
    // at the amplification's gain and never above -1 dBFS: peaks the gain lifts past that are
    // limited, not clipped.
    // Returns `frames` while a module plays (silence while paused at amplification 0), 0 when
    // nothing plays or a song without looping has ended.
    int render(qint16* out, int frames);
    // The output through the sound server, once a module has played (null with Output::None).
    PcmOutput* output() const { return output_.get(); }
    // Number of times the playing module has run to its end.
    int completedPasses() const;

  private:
    struct Loaded;
    // From `frame` on, the listener hears this place of the song; `end` marks where it ended.
    struct Mark {
        qint64 frame;
        int order;
        int pattern;
        int row;
        bool end;
    };
    bool applySettings(openmpt::module& module) const;
    void stopOutput();
    // Under the lock.
    void markPlace(const openmpt::module& module, bool end);
    void forgetHeardUpTo(qint64 frame);
    void restartTimeline(const openmpt::module& module);

    const Output outputKind_;
    mutable std::mutex mutex_;
    std::map<int, std::unique_ptr<Loaded>> modules_;
    std::unique_ptr<Loaded> spare_;  // the last song freed, kept should it be loaded again
    std::unique_ptr<PcmOutput> output_;
    int nextModule_ = 1;
    int nextPlay_ = 1;
    // The play in progress: its handle, module and state. Guarded by mutex_.
    int play_ = 0;
    int playModule_ = 0;
    bool loop_ = true;
    bool ended_ = false;  // a song without looping has finished rendering
    qint64 renderedFrames_ = 0;
    std::deque<Mark> marks_;    // the first is the place heard now
    bool heardEnd_ = false;     // a song without looping has been heard to its end
    bool wrapPending_ = false;  // a heard end that no status has reported yet
    int passes_ = 0;
    int amplification_ = 100;
    int filterMode_ = 3;
    std::vector<float> float_;  // the frames being rendered, before the limiter
    PeakLimiter limiter_;
};

}  // namespace marlo
