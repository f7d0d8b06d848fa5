#pragma once

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <functional>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_operation;

namespace marlo {

// One playback stream on the PulseAudio server, filled from the server's own thread whenever it
// wants more: no event loop of ours wakes up for the sound, so a song costs little more than
// its decoding.
class PulseStream {
  public:
    // Writes up to `bytes` bytes of interleaved 16-bit stereo into `data`; returns how many it
    // wrote (whole frames). Called on the stream's thread.
    using Fill = std::function<std::size_t(void* data, std::size_t bytes)>;
    // The server went away or the stream broke; called on the stream's thread.
    using Failed = std::function<void(const QString& reason)>;
    // Everything written has been played, after a fill returned nothing; on the stream's thread.
    using Drained = std::function<void()>;

    PulseStream() = default;
    ~PulseStream();
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // Starts a stream (or holds it corked): the one of the last open when it is of the same
    // format, else a new one, connecting to the server first unless still connected; false
    // with errorString() when there is no server.
    bool open(int sampleRate, int channels, int bufferMs, Fill fill, Failed failed,
              Drained drained = nullptr, bool corked = false);
    // Silences and empties the stream, which stays for the next open of the same format (no
    // new stream, thread or handshake).
    void close();
    // Ends the stream and the connection.
    void disconnect();
    // Bytes the server has played so far (its read position), estimated between its reports.
    qint64 playedBytes() const;
    // Corked, the server holds what it has and plays nothing: pause without losing sound.
    void setCorked(bool corked);
    QString errorString() const { return error_; }

  private:
    static void contextState(pa_context* context, void* self);
    static void streamState(pa_stream* stream, void* self);
    static void writeRequest(pa_stream* stream, std::size_t bytes, void* self);
    static void drainDone(pa_stream* stream, int success, void* self);
    bool connect();
    // The server's read position now, in bytes, asked of it (the loop's lock held).
    qint64 serverReadBytes();
    // Waits on the loop (its lock held) until `done` holds or `limitUs` has passed; whether it
    // holds.
    bool waitUntil(const std::function<bool()>& done, std::uint64_t limitUs);
    // Whether the stream closed last can be opened again as it is.
    bool reuse(int sampleRate, int channels, int bufferMs);
    // Ends the stream for good.
    void discard();
    bool fail(const QString& reason);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    Fill fill_;
    Failed failed_;
    Drained drained_;
    pa_operation* drain_ = nullptr;
    bool draining_ = false;  // once the fill ran dry; it never refills
    bool ready_ = false;     // once the stream plays, later failures go to failed_
    bool idle_ = false;      // closed, but kept for the next open
    int rate_ = 0;
    int channels_ = 0;
    int bufferMs_ = 0;
    qint64 writtenBytes_ = 0;        // since the stream was made
    qint64 playedBase_ = 0;          // the server's read position when this open began
    mutable qint64 playedMost_ = 0;  // the count never goes back within one open
    QString error_;
};

}  // namespace marlo
