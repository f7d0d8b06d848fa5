#pragma once

#include <QString>
#include <memory>

namespace marlo {

// The tracker-module library with its fourteen operations. Each call stores its status as the
// last result; only a module handle of 0 counts as failure to callers. Start order: startup,
// init, startBackgroundPlay, openChannels, setAmplification, setOption, loadModule,
// getModuleInfo, playModule. Stop order: stopModule, freeModule, close.
class ModuleLibrary {
  public:
    struct ModuleInfo {
        QString songName;    // up to 32 characters
        int songLength = 0;  // positions in the order list
    };
    struct PlayStatus {
        int position = 0;  // order index; 0 again once the song has played to its end
        int pattern = 0;
        int row = 0;
        // The song has been heard to its end since the last status (it then reads position 0).
        // A song of one order never leaves position 0: this is how its end shows.
        bool endHeard = false;
    };
    static constexpr int kOptionFilterMode = 10;  // 0 none, 1 weak, 2 strong, 3 automatic

    virtual ~ModuleLibrary() = default;

    virtual bool startup() = 0;
    virtual bool init() = 0;
    virtual bool startBackgroundPlay(int pollsPerSecond) = 0;
    virtual bool openChannels(int channels) = 0;
    // 0..1000; 100 is the module's own level.
    virtual bool setAmplification(int level) = 0;
    virtual bool setOption(int option, int value) = 0;
    // A handle for the module, 0 when it could not be loaded.
    virtual int loadModule(const QString& path) = 0;
    virtual bool getModuleInfo(int module, ModuleInfo& info) = 0;
    // A play handle, 0 on failure.
    virtual int playModule(int module, bool loop) = 0;
    virtual bool getPlayStatus(int play, PlayStatus& status) = 0;
    virtual bool setPosition(int play, int position) = 0;
    virtual bool stopModule(int play) = 0;
    virtual bool freeModule(int module) = 0;
    virtual bool close() = 0;

    bool lastResult() const { return lastResult_; }

  protected:
    bool lastResult_ = true;
};

// The library over libopenmpt, playing through the PCM output of the sound server.
std::unique_ptr<ModuleLibrary> createModuleLibrary();

}  // namespace marlo
