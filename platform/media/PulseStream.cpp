#include "platform/media/PulseStream.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace marlo {

namespace {

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
    close();
}

bool PulseStream::fail(const QString& reason) {
    error_ = reason;
    close();
    return false;
}

bool PulseStream::open(int sampleRate, int channels, int bufferMs, Fill fill, Failed failed) {
    close();
    error_.clear();
    fill_ = std::move(fill);
    failed_ = std::move(failed);
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
    const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(sampleRate), uint8_t(channels)};
    {
        LoopLock lock(loop_);
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context_);
            if (state == PA_CONTEXT_READY) {
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(state)) {
                const QString reason = QStringLiteral("no sound server: ") + serverError(context_);
                error_ = reason;
                break;
            }
            pa_threaded_mainloop_wait(loop_);
        }
        if (error_.isEmpty()) {
            stream_ = pa_stream_new(context_, "Music", &format, nullptr);
            if (stream_ == nullptr) {
                error_ =
                    QStringLiteral("the sound stream could not be made: ") + serverError(context_);
            }
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
            if (pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr,
                                           nullptr) < 0) {
                error_ =
                    QStringLiteral("the sound stream could not start: ") + serverError(context_);
            }
        }
        while (error_.isEmpty()) {
            const pa_stream_state_t state = pa_stream_get_state(stream_);
            if (state == PA_STREAM_READY) {
                ready_ = true;
                break;
            }
            if (!PA_STREAM_IS_GOOD(state)) {
                error_ = QStringLiteral("the sound stream failed: ") + serverError(context_);
                break;
            }
            pa_threaded_mainloop_wait(loop_);
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
    {
        LoopLock lock(loop_);
        ready_ = false;
        if (stream_ != nullptr) {
            pa_stream_set_write_callback(stream_, nullptr, nullptr);
            pa_stream_set_state_callback(stream_, nullptr, nullptr);
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
            stream_ = nullptr;
        }
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
            return;
        }
        pa_stream_write(stream, data, written, nullptr, 0, PA_SEEK_RELATIVE);
        bytes -= std::min(bytes, written);
    }
}

}  // namespace marlo
