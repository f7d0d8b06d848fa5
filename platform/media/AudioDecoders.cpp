#include "platform/media/AudioDecoder.h"

#include <mpg123.h>
#include <sndfile.h>

#include <QFile>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <vector>

#include "platform/media/FlacTail.h"

namespace marlo {
namespace {

bool endsWithAny(const QString& path, std::initializer_list<const char*> endings) {
    return std::any_of(endings.begin(), endings.end(), [&](const char* ending) {
        return path.endsWith(QLatin1String(ending), Qt::CaseInsensitive);
    });
}

// ---- libsndfile ---------------------------------------------------------------------------

class SndfileDecoder : public AudioDecoder {
  public:
    explicit SndfileDecoder(SNDFILE* file, const SF_INFO& info) : file_(file), info_(info) {}
    ~SndfileDecoder() override { sf_close(file_); }
    SndfileDecoder(const SndfileDecoder&) = delete;
    SndfileDecoder& operator=(const SndfileDecoder&) = delete;

    int sampleRate() const override { return info_.samplerate; }
    int channels() const override { return info_.channels; }
    qint64 lengthFrames() const override { return info_.frames; }
    int read(float* out, int frames) override {
        const sf_count_t got = sf_readf_float(file_, out, frames);
        return got > 0 ? int(got) : 0;
    }
    bool seek(qint64 frame) override {
        return sf_seek(file_, std::clamp<qint64>(frame, 0, info_.frames), SEEK_SET) >= 0;
    }

  private:
    SNDFILE* file_;
    SF_INFO info_;
};

// ---- libmpg123 ----------------------------------------------------------------------------

// Scanning every frame header gives the exact length and a sample-accurate seek index, but its
// cost goes with the number of frames, not the bytes: measured here (a busy machine) 46-65 ms
// for 10 minutes (23,000 frames), at 128 kbit/s CBR (9.6 MB) as at VBR (2.5 MB). Up to 8,000
// frames (3 minutes at 44.1 kHz, some 20 ms) a file is scanned when opened. A longer one with a
// LAME/Info header takes the length from it: measured equal to the scan's to the sample, CBR and
// VBR; it seeks through the header's table of contents. A longer one without such a header has
// only an estimate from its first frame's bit rate (a 10-minute VBR file: 91 s), so whoever
// opens it scans it whole on another thread (openMpegDecoder with scanWhole). Without the header
// the frames are counted as if each were of the smallest size, so that no long file passes as
// short.
constexpr off_t kScanLimitFrames = 8000;
constexpr qint64 kSmallestFrameBytes = 24;  // 8 kbit/s at 24 kHz

class MpegDecoder : public AudioDecoder {
  public:
    explicit MpegDecoder(mpg123_handle* handle) : handle_(handle) {}
    ~MpegDecoder() override {
        mpg123_close(handle_);
        mpg123_delete(handle_);
    }
    MpegDecoder(const MpegDecoder&) = delete;
    MpegDecoder& operator=(const MpegDecoder&) = delete;

    bool start(qint64 fileBytes, bool scanWhole) {
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
            channels < 1 || channels > 2 || encoding != MPG123_ENC_FLOAT_32) {
            return false;
        }
        rate_ = int(rate);
        channels_ = channels;
        long delay = -1;  // from the LAME header; -1 without one
        mpg123_getstate(handle_, MPG123_ENC_DELAY, &delay, nullptr);
        const bool header = delay >= 0;
        const off_t frames =
            header ? mpg123_framelength(handle_) : off_t(fileBytes / kSmallestFrameBytes);
        if (scanWhole || frames <= kScanLimitFrames) {
            if (mpg123_scan(handle_) != MPG123_OK) {
                return false;
            }
        } else {
            mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_FUZZY, 0.0);
            exact_ = header;
        }
        const off_t length = mpg123_length(handle_);
        length_ = length > 0 ? qint64(length) : 0;
        return length_ > 0;
    }

    int sampleRate() const override { return rate_; }
    int channels() const override { return channels_; }
    qint64 lengthFrames() const override { return length_; }
    bool lengthExact() const override { return exact_; }
    int read(float* out, int frames) override {
        const std::size_t frameBytes = sizeof(float) * std::size_t(channels_);
        std::size_t filled = 0;
        const std::size_t want = std::size_t(frames) * frameBytes;
        auto* bytes = reinterpret_cast<unsigned char*>(out);
        // A broken frame is skipped by the decoder's resync; only the end or a hard error stops.
        for (int attempts = 0; filled < want && attempts < 64; ++attempts) {
            std::size_t done = 0;
            const int rc = mpg123_read(handle_, bytes + filled, want - filled, &done);
            filled += done;
            if (rc == MPG123_DONE || (rc != MPG123_OK && rc != MPG123_NEW_FORMAT && done == 0)) {
                break;
            }
        }
        return int(filled / frameBytes);
    }
    bool seek(qint64 frame) override {
        return mpg123_seek(handle_, off_t(std::clamp<qint64>(frame, 0, length_)), SEEK_SET) >= 0;
    }

  private:
    mpg123_handle* handle_;
    int rate_ = 0;
    int channels_ = 0;
    qint64 length_ = 0;
    bool exact_ = true;
};

// Whether the frame at `frame` can be read; a failed seek leaves the file unusable, so it is
// opened anew then.
bool readsFrameAt(SNDFILE*& file, const QByteArray& name, SF_INFO& info, qint64 frame) {
    std::vector<float> one(std::size_t(std::max(1, info.channels)));
    if (sf_seek(file, frame, SEEK_SET) == frame && sf_readf_float(file, one.data(), 1) == 1) {
        return true;
    }
    sf_close(file);
    file = sf_open(name.constData(), SFM_READ, &info);
    return false;
}

constexpr qint64 kBlock = 16384;

// The frames from `from` to where the data ends, read through.
qint64 framesReadFrom(SNDFILE* file, const SF_INFO& info, qint64 from) {
    std::vector<float> block(std::size_t(kBlock) * std::size_t(info.channels));
    sf_seek(file, from, SEEK_SET);
    qint64 count = 0;
    for (;;) {
        const sf_count_t got = sf_readf_float(file, block.data(), kBlock);
        count += std::max<sf_count_t>(got, 0);
        if (got < kBlock) {
            break;
        }
    }
    sf_seek(file, 0, SEEK_SET);
    return count;
}

// A FLAC file's frames from its last megabyte: the last frame ends at the header's count in a
// whole file; in a cut one the sound is read through from just before the last frame. Seeking
// instead costs libFLAC a look to the end of the data for every seek past it: 1.5-2 s for a cut
// hour with a cold cache, the window frozen all along.
std::optional<qint64> flacFramesFromTail(SNDFILE*& file, const QByteArray& name, SF_INFO& info) {
    if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_FLAC) {
        return std::nullopt;
    }
    QFile raw(QFile::decodeName(name));
    if (!raw.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    constexpr qint64 kTail = 1 << 20;
    raw.seek(std::max<qint64>(0, raw.size() - kTail));
    const std::optional<FlacFrame> last = lastFlacFrame(raw.read(kTail));
    if (!last || last->start <= 0 || last->start > info.frames) {
        return std::nullopt;
    }
    if (last->start + last->samples == info.frames) {
        return info.frames;
    }
    const qint64 from = last->start - 1;  // in the frame before, which is whole
    if (!readsFrameAt(file, name, info, from) || file == nullptr) {
        return std::nullopt;
    }
    return from + framesReadFrom(file, info, from);
}

// The frames a file holds up to where its data ends: the header's count unless the file was cut
// short (a download broken off), when they are searched for: whole files pay one seek, a cut one
// a search to within 16384 frames, then the rest is read. Measured here on a busy machine: 4 ms
// for a cut 4 s FLAC, 60-70 ms for a cut 10-minute one (each failed seek costs libFLAC a look
// for the next frame to the end of the data); a FLAC is measured from its end instead.
qint64 framesThatPlay(SNDFILE*& file, const QByteArray& name, SF_INFO& info) {
    const qint64 frames = info.frames;
    if (const std::optional<qint64> flac = flacFramesFromTail(file, name, info)) {
        return *flac;
    }
    if (file == nullptr) {
        return 0;
    }
    if (readsFrameAt(file, name, info, frames - 1)) {
        sf_seek(file, 0, SEEK_SET);
        return frames;
    }
    qint64 good = -1;  // the last frame known to read
    qint64 bad = frames - 1;
    while (file != nullptr && bad - good > kBlock) {
        const qint64 middle = good + (bad - good) / 2;
        (readsFrameAt(file, name, info, middle) ? good : bad) = middle;
    }
    if (file == nullptr || good < 0) {
        return 0;
    }
    // The last stretch is read through from the last frame known to read.
    std::vector<float> block(std::size_t(kBlock) * std::size_t(info.channels));
    sf_seek(file, good, SEEK_SET);
    const sf_count_t more = sf_readf_float(file, block.data(), bad - good);
    sf_seek(file, 0, SEEK_SET);
    return good + std::max<sf_count_t>(more, 0);
}

}  // namespace

std::unique_ptr<AudioDecoder> openSndfileDecoder(const QString& path) {
    SF_INFO info{};
    const QByteArray name = QFile::encodeName(path);
    SNDFILE* file = sf_open(name.constData(), SFM_READ, &info);
    if (file == nullptr) {
        return nullptr;
    }
    // A file without a header that libsndfile would take as raw samples by its name alone
    // (".au" as 8 kHz u-law) is noise, not sound.
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_RAW || info.channels < 1 ||
        info.samplerate <= 0 || info.frames <= 0 || info.frames == SF_COUNT_MAX) {
        sf_close(file);
        return nullptr;
    }
    info.frames = framesThatPlay(file, name, info);
    if (file == nullptr || info.frames <= 0) {
        if (file != nullptr) {
            sf_close(file);
        }
        return nullptr;
    }
    // Float files may hold samples beyond full scale; they are limited when converted.
    return std::make_unique<SndfileDecoder>(file, info);
}

std::unique_ptr<AudioDecoder> openMpegDecoder(const QString& path, bool scanWhole) {
    static const int initialised = mpg123_init();
    if (initialised != MPG123_OK) {
        return nullptr;
    }
    int error = 0;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr) {
        return nullptr;
    }
    auto decoder = std::make_unique<MpegDecoder>(handle);
    // Gapless: the encoder's delay and padding (LAME/Xing header) are cut off. Float output at
    // every rate the stream has, mono or stereo as it is.
    mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(handle);
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    }
    QFile file(path);
    const qint64 bytes = file.size();
    if (bytes <= 0 || mpg123_open(handle, QFile::encodeName(path).constData()) != MPG123_OK) {
        return nullptr;  // the decoder closes and deletes the handle
    }
    if (!decoder->start(bytes, scanWhole)) {
        return nullptr;
    }
    return decoder;
}

std::unique_ptr<AudioDecoder> openLightDecoder(const QString& path) {
    if (endsWithAny(path, {".mp3", ".mp2", ".mp1"})) {
        return openMpegDecoder(path);
    }
    if (endsWithAny(path, {".wav", ".au", ".snd", ".aif", ".aiff", ".aifc", ".flac", ".ogg", ".oga",
                           ".opus", ".w64", ".caf"})) {
        return openSndfileDecoder(path);
    }
    return nullptr;
}

}  // namespace marlo
