#include "platform/media/OpenMptModuleLibrary.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <libopenmpt/libopenmpt.hpp>
#include <sstream>
#include <vector>

#include "platform/media/PcmOutput.h"

namespace marlo {

namespace {

// Larger files are not tracker modules anyone would play here; refusing them keeps a stray
// disc image from being read into memory.
constexpr qint64 kMaxModuleBytes = 256LL * 1024 * 1024;

// libopenmpt's interpolation filter length for the filter modes none, weak, strong, automatic
// (0 lets libopenmpt choose its recommended filter).
constexpr int kFilterLength[] = {1, 2, 4, 0};

// Rendering in slices of about 23 ms places each row's sound to within a slice.
constexpr int kSliceFrames = 1024;
// Marks nobody asked for are folded once there are this many (about 90 s of rows).
constexpr std::size_t kMaxMarks = 4096;
// Loud songs, and every song high on the volume bar, are held below full scale instead of
// clipping: -1 dBFS, as MIDI plays.
constexpr float kCeiling = 0.891F;

}  // namespace

struct OpenMptModuleLibrary::Loaded {
    std::unique_ptr<openmpt::module> module;
    QString name;
    // The file it was read from, to know the same file again.
    QString path;
    qint64 size = 0;
    QDateTime modified;
};

OpenMptModuleLibrary::OpenMptModuleLibrary(Output output)
    : outputKind_(output), limiter_(kCeiling, PcmOutput::kSampleRate) {}

OpenMptModuleLibrary::~OpenMptModuleLibrary() {
    close();
}

bool OpenMptModuleLibrary::startup() {
    return lastResult_ = true;
}
bool OpenMptModuleLibrary::init() {
    return lastResult_ = true;
}
// libopenmpt needs no polling and mixes any number of channels; these are accepted as they are.
bool OpenMptModuleLibrary::startBackgroundPlay(int pollsPerSecond) {
    return lastResult_ = pollsPerSecond >= 0;
}
bool OpenMptModuleLibrary::openChannels(int channels) {
    return lastResult_ = channels > 0;
}

bool OpenMptModuleLibrary::applySettings(openmpt::module& module) const {
    try {
        // The bar's 0..1000 around the module's own level at 100; 0 is handled as silence.
        const int level = std::max(amplification_, 1);
        module.set_render_param(openmpt::module::RENDER_MASTERGAIN_MILLIBEL,
                                int(std::lround(2000.0 * std::log10(level / 100.0))));
        module.set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH,
                                kFilterLength[filterMode_]);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool OpenMptModuleLibrary::setAmplification(int level) {
    const bool inRange = level >= 0 && level <= 1000;
    std::lock_guard lock(mutex_);
    amplification_ = std::clamp(level, 0, 1000);
    bool ok = inRange;
    for (auto& [handle, loaded] : modules_) {
        ok = applySettings(*loaded->module) && ok;
    }
    return lastResult_ = ok;
}

bool OpenMptModuleLibrary::setOption(int option, int value) {
    if (option != kOptionFilterMode || value < 0 || value > 3) {
        return lastResult_ = false;
    }
    std::lock_guard lock(mutex_);
    filterMode_ = value;
    bool ok = true;
    for (auto& [handle, loaded] : modules_) {
        ok = applySettings(*loaded->module) && ok;
    }
    return lastResult_ = ok;
}

int OpenMptModuleLibrary::loadModule(const QString& path) {
    lastResult_ = false;
    const QFileInfo info(path);
    {
        // The song just freed, loaded again (a repeated item): reading it afresh would give
        // the same song, at the cost of parsing it and measuring its length once more.
        std::lock_guard lock(mutex_);
        if (spare_ && spare_->path == path && spare_->size == info.size() &&
            spare_->modified == info.lastModified() && applySettings(*spare_->module)) {
            const int handle = nextModule_++;
            modules_[handle] = std::move(spare_);
            lastResult_ = true;
            return handle;
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > kMaxModuleBytes) {
        return 0;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) {
        return 0;
    }
    auto loaded = std::make_unique<Loaded>();
    try {
        // Loader messages go to a string instead of the console.
        std::ostringstream log;
        loaded->module = std::make_unique<openmpt::module>(
            reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()),
            log);
        openmpt::module& module = *loaded->module;
        // A file cut off before its patterns or samples still loads in libopenmpt, as an empty
        // or silent song; that is no module to play.
        if (module.get_num_orders() <= 0 || module.get_num_samples() <= 0 ||
            !(module.get_duration_seconds() > 0.0)) {
            return 0;
        }
        // One pass without a fade; render() decides what follows the end.
        module.set_repeat_count(0);
        module.ctl_set_text("play.at_end", "stop");
        loaded->name = QString::fromStdString(module.get_metadata("title")).left(32);
        loaded->path = path;
        loaded->size = info.size();
        loaded->modified = info.lastModified();
    } catch (...) {
        return 0;
    }
    std::lock_guard lock(mutex_);
    if (!applySettings(*loaded->module)) {
        return 0;
    }
    const int handle = nextModule_++;
    modules_[handle] = std::move(loaded);
    lastResult_ = true;
    return handle;
}

bool OpenMptModuleLibrary::getModuleInfo(int module, ModuleInfo& info) {
    std::lock_guard lock(mutex_);
    const auto it = modules_.find(module);
    if (it == modules_.end()) {
        return lastResult_ = false;
    }
    info.songName = it->second->name;
    info.songLength = it->second->module->get_num_orders();
    return lastResult_ = true;
}

int OpenMptModuleLibrary::playModule(int module, bool loop) {
    stopModule(play_);
    int handle = 0;
    {
        std::lock_guard lock(mutex_);
        const auto it = modules_.find(module);
        if (it == modules_.end()) {
            lastResult_ = false;
            return 0;
        }
        try {
            it->second->module->set_position_seconds(0.0);
        } catch (...) {
            lastResult_ = false;
            return 0;
        }
        handle = play_ = nextPlay_++;
        playModule_ = module;
        loop_ = loop;
        ended_ = false;
        passes_ = 0;
        limiter_.reset();
        restartTimeline(*it->second->module);
    }
    if (outputKind_ == Output::SoundServer) {
        // One output for every song: its connection to the server stays between songs.
        if (!output_) {
            output_ = std::make_unique<PcmOutput>(
                [this](qint16* out, int frames) { return render(out, frames); });
        }
        // Without a sound server the output says so and plays on silently.
        output_->start();
    }
    lastResult_ = true;
    return handle;
}

int OpenMptModuleLibrary::render(qint16* out, int frames) {
    std::lock_guard lock(mutex_);
    const auto it = modules_.find(playModule_);
    if (play_ == 0 || it == modules_.end() || frames <= 0 || ended_) {
        return 0;
    }
    openmpt::module& module = *it->second->module;
    // Rendered as floats, so that what the gain lifts past full scale reaches the limiter whole.
    if (float_.size() < std::size_t(2 * frames)) {
        float_.resize(std::size_t(2 * frames));
    }
    float* pcm = float_.data();
    int done = 0;
    bool restarted = false;
    try {
        while (done < frames) {
            const int want = std::min(frames - done, kSliceFrames);
            const int got = int(module.read_interleaved_stereo(PcmOutput::kSampleRate,
                                                               std::size_t(want), pcm + 2 * done));
            done += got;
            renderedFrames_ += got;
            if (got == want) {
                markPlace(module, false);
                continue;
            }
            if (got == 0 && restarted) {
                break;  // a song that renders nothing at all: do not spin
            }
            // The song has ended.
            ++passes_;
            markPlace(module, true);
            if (!loop_) {
                ended_ = true;
                break;
            }
            module.set_position_seconds(0.0);
            restarted = true;
            markPlace(module, false);
        }
    } catch (...) {
        ended_ = true;
        markPlace(module, true);
    }
    if (loop_ && done < frames) {
        std::fill(pcm + 2 * done, pcm + 2 * frames, 0.0F);
        renderedFrames_ += frames - done;
        done = frames;
    }
    limiter_.process(pcm, done);
    for (int i = 0; i < 2 * done; ++i) {
        out[i] = amplification_ == 0
                     ? qint16(0)
                     : qint16(std::lround(std::clamp(pcm[i], -kCeiling, kCeiling) * 32767.0F));
    }
    if (marks_.size() > kMaxMarks) {
        forgetHeardUpTo(marks_[marks_.size() - kMaxMarks / 2].frame);
    }
    return done;
}

void OpenMptModuleLibrary::markPlace(const openmpt::module& module, bool end) {
    const Mark mark{renderedFrames_, module.get_current_order(), module.get_current_pattern(),
                    module.get_current_row(), end};
    if (!end && !marks_.empty()) {
        const Mark& last = marks_.back();
        if (!last.end && last.order == mark.order && last.pattern == mark.pattern &&
            last.row == mark.row) {
            return;
        }
    }
    marks_.push_back(mark);
}

void OpenMptModuleLibrary::forgetHeardUpTo(qint64 frame) {
    while (marks_.size() > 1 && marks_[1].frame <= frame) {
        marks_.pop_front();
        if (marks_.front().end) {
            (loop_ ? wrapPending_ : heardEnd_) = true;
        }
    }
}

void OpenMptModuleLibrary::restartTimeline(const openmpt::module& module) {
    renderedFrames_ = 0;
    marks_.clear();
    heardEnd_ = false;
    wrapPending_ = false;
    markPlace(module, false);
}

bool OpenMptModuleLibrary::getPlayStatus(int play, PlayStatus& status) {
    // Read before the lock: the output's server thread renders under that lock.
    const qint64 played = output_ ? output_->framesPlayed() : -1;
    std::lock_guard lock(mutex_);
    if (play == 0 || play != play_ || marks_.empty()) {
        return lastResult_ = false;
    }
    forgetHeardUpTo(played >= 0 ? played : renderedFrames_);
    const Mark& heard = marks_.front();
    status.pattern = heard.pattern;
    status.row = heard.row;
    status.position = heard.order;
    // The end shows as position 0 at least once, even where order 0 is skipped or short.
    status.endHeard = heardEnd_ || wrapPending_;
    if (status.endHeard) {
        status.position = 0;
        wrapPending_ = false;
    }
    return lastResult_ = true;
}

bool OpenMptModuleLibrary::setPosition(int play, int position) {
    // What the server holds is of the old place: the output starts over after the jump, so
    // the jump is heard at once. Stopped outside the lock (stopping waits for a fill).
    const bool audible = output_ && output_->isAudible();
    const bool paused = audible && output_->isSuspended();
    if (audible) {
        output_->stop();
    }
    bool moved = false;
    {
        std::lock_guard lock(mutex_);
        const auto it = modules_.find(playModule_);
        if (play != 0 && play == play_ && it != modules_.end() && position >= 0 &&
            position < it->second->module->get_num_orders()) {
            try {
                it->second->module->set_position_order_row(position, 0);
                ended_ = false;
                restartTimeline(*it->second->module);
                moved = true;
            } catch (...) {
            }
        }
    }
    if (audible) {
        output_->start(paused);
    }
    return lastResult_ = moved;
}

void OpenMptModuleLibrary::stopOutput() {
    // Outside the lock: stopping may wait for the sink, which pulls through render().
    if (output_) {
        output_->stop();
    }
}

bool OpenMptModuleLibrary::stopModule(int play) {
    bool stopped = false;
    {
        std::lock_guard lock(mutex_);
        if (play != 0 && play == play_) {
            play_ = 0;
            playModule_ = 0;
            stopped = true;
        }
    }
    if (stopped) {
        stopOutput();
    }
    return lastResult_ = stopped;
}

bool OpenMptModuleLibrary::freeModule(int module) {
    bool playing = false;
    {
        std::lock_guard lock(mutex_);
        playing = play_ != 0 && playModule_ == module;
    }
    if (playing) {
        stopModule(play_);
    }
    std::lock_guard lock(mutex_);
    const auto it = modules_.find(module);
    if (it == modules_.end()) {
        return lastResult_ = false;
    }
    spare_ = std::move(it->second);
    modules_.erase(it);
    return lastResult_ = true;
}

bool OpenMptModuleLibrary::close() {
    int play = 0;
    {
        std::lock_guard lock(mutex_);
        play = play_;
    }
    stopModule(play);
    stopOutput();
    std::lock_guard lock(mutex_);
    modules_.clear();
    return lastResult_ = true;
}

int OpenMptModuleLibrary::completedPasses() const {
    std::lock_guard lock(mutex_);
    return passes_;
}

std::unique_ptr<ModuleLibrary> createModuleLibrary() {
    return std::make_unique<OpenMptModuleLibrary>();
}

}  // namespace marlo
