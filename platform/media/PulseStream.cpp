#include "platform/media/PulseStream.h"

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <algorithm>

namespace marlo {

namespace {

// How long a start waits for the server to say where its stream stands, and to take a
// connection or a new stream: one that stopped answering must not hold the window.
constexpr pa_usec_t kAnswerLimitUs = 500 * 1000;
constexpr pa_usec_t kServerLimitUs = 3000 * 1000;

// Holds the stream thread's lock for a scope.
class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) {
        pa_threaded_mainloop_lock(loop_);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

  private:
    pa_threaded_mainloop* loop_;
};

QString serverError(pa_context* context) {
    return QString::fromUtf8(pa_strerror(pa_context_errno(context)));
}

}  // namespace

PulseStream::~PulseStream() {
    disconnect();
}

bool PulseStream::fail(const QString& reason) {
    error_ = reason;
    disconnect();
    return false;
}

bool PulseStream::connect() {
    if (loop_ != nullptr) {
        LoopLock lock(loop_);
        if (PA_CONTEXT_IS_GOOD(pa_context_get_state(context_))) {
            return true;
        }
    }
    // None yet, or the server went away since: a new connection.
    disconnect();
    loop_ = pa_threaded_mainloop_new();
    if (loop_ == nullptr) {
        return fail(QStringLiteral("the sound thread could not be made"));
    }
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Marlo");
    if (context_ == nullptr) {
        return fail(QStringLiteral("the sound server connection could not be made"));
    }
    pa_context_set_state_callback(context_, &PulseStream::contextState, this);
    // No autospawn: a desktop without a server plays silently instead of starting one.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return fail(QStringLiteral("no sound server: ") + serverError(context_));
    }
    if (pa_threaded_mainloop_start(loop_) < 0) {
        return fail(QStringLiteral("the sound thread could not start"));
    }
    LoopLock lock(loop_);
    const bool settled = waitUntil(
        [this] {
            const pa_context_state_t state = pa_context_get_state(context_);
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
        },
        kServerLimitUs);
    if (pa_context_get_state(context_) == PA_CONTEXT_READY) {
        return true;
    }
    error_ = settled ? QStringLiteral("no sound server: ") + serverError(context_)
                     : QStringLiteral("the sound server does not answer");
    return false;  // the lock is let go before the teardown below
}

bool PulseStream::waitUntil(const std::function<bool()>& done, std::uint64_t limitUs) {
    struct Limit {
        pa_threaded_mainloop* loop;
        bool passed = false;
    } limit{loop_};
    pa_time_event* timer = pa_context_rttime_new(
        context_, pa_rtclock_now() + limitUs,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
            auto* l = static_cast<Limit*>(data);
            l->passed = true;
            pa_threaded_mainloop_signal(l->loop, 0);
        },
        &limit);
    while (!done() && !limit.passed) {
        pa_threaded_mainloop_wait(loop_);
    }
    if (timer != nullptr) {
        pa_threaded_mainloop_get_api(loop_)->time_free(timer);
    }
    return done();
}

bool PulseStream::open(int sampleRate, int channels, int bufferMs, Fill fill, Failed failed,
                       Drained drained, bool corked) {
    if (reuse(sampleRate, channels, bufferMs)) {
        // The stream of the last open goes on: a new one would be heard only once the sink
        // takes it in, a block of the sink's latency later (a second on a null sink).
        LoopLock lock(loop_);
        fill_ = std::move(fill);
        failed_ = std::move(failed);
        drained_ = std::move(drained);
        draining_ = false;
        idle_ = false;
        ready_ = true;
        // Where the new sound begins: emptying the stream moved the server's positions, which
        // our count of what was written cannot tell.
        playedBase_ = serverReadBytes();
        playedMost_ = 0;
        pa_stream_set_write_callback(stream_, &PulseStream::writeRequest, this);
        // Filled while still corked: uncorked empty, the sink would play on through the start
        // of what comes, and the frames written late would fall behind what it played.
        const std::size_t room = pa_stream_writable_size(stream_);
        if (room != std::size_t(-1) && room > 0) {
            writeRequest(stream_, room, this);
        }
        if (!corked) {
            if (pa_operation* op = pa_stream_cork(stream_, 0, nullptr, nullptr)) {
                pa_operation_unref(op);
            }
        }
        return true;
    }
    discard();
    error_.clear();
    if (!connect()) {
        return fail(error_);
    }
    rate_ = sampleRate;
    channels_ = channels;
    bufferMs_ = bufferMs;
    writtenBytes_ = 0;
    playedBase_ = 0;
    playedMost_ = 0;
    const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(sampleRate), uint8_t(channels)};
    {
        LoopLock lock(loop_);
        fill_ = std::move(fill);
        failed_ = std::move(failed);
        drained_ = std::move(drained);
        stream_ = pa_stream_new(context_, "Music", &format, nullptr);
        if (stream_ == nullptr) {
            error_ = QStringLiteral("the sound stream could not be made: ") + serverError(context_);
        }
        if (error_.isEmpty()) {
            pa_stream_set_state_callback(stream_, &PulseStream::streamState, this);
            pa_stream_set_write_callback(stream_, &PulseStream::writeRequest, this);
            // The server asks for a third of the buffer at a time: a few wake-ups a second.
            pa_buffer_attr attr{};
            attr.maxlength = uint32_t(-1);
            attr.tlength = uint32_t(pa_usec_to_bytes(pa_usec_t(bufferMs) * 1000, &format));
            attr.prebuf = uint32_t(-1);
            attr.minreq = attr.tlength / 3;
            attr.fragsize = uint32_t(-1);
            // The played position is read often (what the display shows is what is heard);
            // interpolated between the server's reports, reading it costs no round trip. The
            // buffer is the whole latency, the sink's part included: a sink left at its own
            // (two seconds on a null sink) would hear the next item that much after the end.
            // Not kept monotonic by the library: across an emptied stream that would hold the
            // count at the old place; it is kept so per open below.
            const auto flags =
                pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE |
                                  PA_STREAM_NOT_MONOTONIC | PA_STREAM_ADJUST_LATENCY |
                                  (corked ? PA_STREAM_START_CORKED : PA_STREAM_NOFLAGS));
            if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0) {
                error_ =
                    QStringLiteral("the sound stream could not start: ") + serverError(context_);
            }
        }
        if (error_.isEmpty()) {
            const bool settled = waitUntil(
                [this] {
                    const pa_stream_state_t state = pa_stream_get_state(stream_);
                    return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
                },
                kServerLimitUs);
            if (pa_stream_get_state(stream_) == PA_STREAM_READY) {
                ready_ = true;
            } else {
                error_ = settled
                             ? QStringLiteral("the sound stream failed: ") + serverError(context_)
                             : QStringLiteral("the sound server does not answer");
            }
        }
    }
    if (!error_.isEmpty()) {
        return fail(error_);
    }
    return true;
}

void PulseStream::close() {
    if (loop_ == nullptr) {
        return;
    }
    LoopLock lock(loop_);
    ready_ = false;
    draining_ = false;
    if (drain_ != nullptr) {
        pa_operation_cancel(drain_);
        pa_operation_unref(drain_);
        drain_ = nullptr;
    }
    if (stream_ != nullptr) {
        // Silenced and emptied, kept for the next open.
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        if (pa_operation* op = pa_stream_cork(stream_, 1, nullptr, nullptr)) {
            pa_operation_unref(op);
        }
        if (pa_operation* op = pa_stream_flush(stream_, nullptr, nullptr)) {
            pa_operation_unref(op);
        }
        idle_ = true;
    }
}

bool PulseStream::reuse(int sampleRate, int channels, int bufferMs) {
    if (loop_ == nullptr || stream_ == nullptr || !idle_) {
        return false;
    }
    LoopLock lock(loop_);
    return rate_ == sampleRate && channels_ == channels && bufferMs_ == bufferMs &&
           PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) &&
           pa_stream_get_state(stream_) == PA_STREAM_READY;
}

void PulseStream::discard() {
    if (loop_ == nullptr) {
        return;
    }
    close();
    LoopLock lock(loop_);
    idle_ = false;
    if (stream_ != nullptr) {
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
}

void PulseStream::disconnect() {
    discard();
    if (loop_ == nullptr) {
        return;
    }
    {
        LoopLock lock(loop_);
        if (context_ != nullptr) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
        }
    }
    pa_threaded_mainloop_stop(loop_);
    if (context_ != nullptr) {
        pa_context_unref(context_);
        context_ = nullptr;
    }
    pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
}

qint64 PulseStream::playedBytes() const {
    if (loop_ == nullptr || stream_ == nullptr) {
        return 0;
    }
    LoopLock lock(loop_);
    pa_usec_t played = 0;
    if (pa_stream_get_time(stream_, &played) < 0) {
        return 0;  // no report from the server yet
    }
    const qint64 bytes =
        qint64(pa_usec_to_bytes(played, pa_stream_get_sample_spec(stream_))) - playedBase_;
    playedMost_ = std::max(playedMost_, bytes);
    return playedMost_;
}

qint64 PulseStream::serverReadBytes() {
    // Asked after the emptying, the answer comes after it: the server takes requests in order.
    struct Answer {
        pa_threaded_mainloop* loop;
        bool done = false;
    } answer{loop_};
    pa_operation* op = pa_stream_update_timing_info(
        stream_,
        [](pa_stream*, int, void* data) {
            auto* a = static_cast<Answer*>(data);
            a->done = true;
            pa_threaded_mainloop_signal(a->loop, 0);
        },
        &answer);
    if (op == nullptr) {
        return writtenBytes_;
    }
    waitUntil([&] { return answer.done || pa_operation_get_state(op) != PA_OPERATION_RUNNING; },
              kAnswerLimitUs);
    if (!answer.done) {
        pa_operation_cancel(op);
    }
    pa_operation_unref(op);
    if (!answer.done) {
        return writtenBytes_;
    }
    // Emptied, the server's write position is back at its read position: the new sound goes
    // there. (Its interpolated time may still run on from a stale report.)
    const pa_timing_info* info = pa_stream_get_timing_info(stream_);
    if (info == nullptr || info->write_index_corrupt != 0) {
        return writtenBytes_;
    }
    return std::max<qint64>(0, info->write_index);
}

void PulseStream::drainDone(pa_stream*, int success, void* self) {
    auto* me = static_cast<PulseStream*>(self);
    if (me->drain_ != nullptr) {
        pa_operation_unref(me->drain_);
        me->drain_ = nullptr;
    }
    if (success != 0 && me->drained_) {
        me->drained_();
    }
}

void PulseStream::setCorked(bool corked) {
    if (loop_ == nullptr || stream_ == nullptr) {
        return;
    }
    LoopLock lock(loop_);
    if (pa_operation* op = pa_stream_cork(stream_, corked ? 1 : 0, nullptr, nullptr)) {
        pa_operation_unref(op);
    }
}

void PulseStream::contextState(pa_context* context, void* self) {
    auto* me = static_cast<PulseStream*>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (me->ready_ && !PA_CONTEXT_IS_GOOD(state) && me->failed_) {
        me->ready_ = false;
        me->failed_(QStringLiteral("the sound server went away"));
    }
    pa_threaded_mainloop_signal(me->loop_, 0);
}

void PulseStream::streamState(pa_stream* stream, void* self) {
    auto* me = static_cast<PulseStream*>(self);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (me->ready_ && !PA_STREAM_IS_GOOD(state) && me->failed_) {
        me->ready_ = false;
        me->failed_(QStringLiteral("the sound stream broke"));
    }
    pa_threaded_mainloop_signal(me->loop_, 0);
}

void PulseStream::writeRequest(pa_stream* stream, std::size_t bytes, void* self) {
    auto* me = static_cast<PulseStream*>(self);
    // The server's buffer may hand out less than was asked for (one memory block at most). The
    // rest must be written now: the server asks again only for room it frees, and a stream
    // whose start-up buffer was never filled would never start.
    while (bytes > 0) {
        void* data = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream, &data, &size) < 0 || data == nullptr || size == 0) {
            return;
        }
        const std::size_t written = me->fill_ ? me->fill_(data, size) : 0;
        if (written == 0) {
            pa_stream_cancel_write(stream);
            // The end: the server plays out what it holds (even less than its start-up
            // buffer) and says when it is done.
            if (!me->draining_ && me->drained_) {
                me->draining_ = true;
                me->drain_ = pa_stream_drain(stream, &PulseStream::drainDone, me);
            }
            return;
        }
        pa_stream_write(stream, data, written, nullptr, 0, PA_SEEK_RELATIVE);
        me->writtenBytes_ += qint64(written);
        bytes -= std::min(bytes, written);
    }
}

}  // namespace marlo
