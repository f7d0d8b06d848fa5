#pragma once

#include <QByteArray>
#include <map>
#include <memory>
#include <mutex>

#include "platform/media/ModuleLibrary.h"

namespace openmpt {
class module;
}

namespace marlo {

class PcmOutput;

// The module library over libopenmpt. A song renders once through (no fade, no loop inside
// libopenmpt); at its end a looping play starts again at order 0 and reports position 0, whatever
// restart position the module names, so a poller sees the position fall back to 0 exactly once
// per pass. One module plays at a time.
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

    // Renders the next frames of the playing module as interleaved 16-bit stereo at 44.1 kHz.
    // Returns `frames` while a module plays (silence while paused at amplification 0), 0 when
    // nothing plays or a song without looping has ended.
    int render(qint16* out, int frames);
    // The output while a module plays through the sound server, else null.
    PcmOutput* output() const { return output_.get(); }
    // Number of times the playing module has run to its end.
    int completedPasses() const;

  private:
    struct Loaded;
    bool applySettings(openmpt::module& module) const;
    void stopOutput();

    const Output outputKind_;
    mutable std::mutex mutex_;
    std::map<int, std::unique_ptr<Loaded>> modules_;
    std::unique_ptr<PcmOutput> output_;
    int nextModule_ = 1;
    int nextPlay_ = 1;
    // The play in progress: its handle, module and state. Guarded by mutex_.
    int play_ = 0;
    int playModule_ = 0;
    bool loop_ = true;
    bool ended_ = false;        // a song without looping has finished
    bool wrapPending_ = false;  // the song ended and no status has reported it yet
    int passes_ = 0;
    int amplification_ = 100;
    int filterMode_ = 3;
};

}  // namespace marlo
