#pragma once

// Sound files made by the tests and checks of what libmpv decoded into a raw PCM file.

#include <mpv/client.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <vector>

namespace marlo::test {

constexpr int kRate = 44100;

// Counts the emissions of one signal (the connection ends with the counter).
class SignalCounter {
  public:
    template <typename Sender, typename Signal>
    SignalCounter(const Sender* sender, Signal signal) {
        QObject::connect(sender, signal, &context_, [this] { ++count_; });
    }
    int count() const { return count_; }

  private:
    QObject context_;
    int count_ = 0;
};

// Runs the event loop until `condition` holds or `ms` pass; returns the condition.
inline bool waitUntil(const std::function<bool()>& condition, int ms = 20000) {
    QDeadlineTimer deadline(ms);
    while (!condition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return condition();
}

// Lets the event loop run for `ms`, to see that nothing more arrives.
inline void runEventsFor(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// A 16-bit mono WAV file holding a sine tone.
inline QString writeSineWav(const QString& path, double hz, int ms, int rate = kRate) {
    const quint32 frames = quint32(qint64(rate) * ms / 1000);
    QByteArray bytes;
    auto u32 = [&](quint32 v) {
        v = qToLittleEndian(v);
        bytes.append(reinterpret_cast<const char*>(&v), 4);
    };
    auto u16 = [&](quint16 v) {
        v = qToLittleEndian(v);
        bytes.append(reinterpret_cast<const char*>(&v), 2);
    };
    bytes.append("RIFF");
    u32(36 + frames * 2);
    bytes.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(quint32(rate));
    u32(quint32(rate) * 2);
    u16(2);
    u16(16);
    bytes.append("data");
    u32(frames * 2);
    for (quint32 i = 0; i < frames; ++i) {
        u16(quint16(qint16(std::lround(12000.0 * std::sin(2.0 * M_PI * hz * i / rate)))));
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    return path;
}

// Converts with sox (au and the like); empty when that failed.
inline QString soxConvert(const QString& in, const QString& out) {
    const int rc = QProcess::execute(QStringLiteral("sox"), {in, out});
    return rc == 0 && QFileInfo(out).size() > 0 ? out : QString();
}

// Encodes with libmpv's encoder (FFmpeg's codecs), for formats sox cannot write here.
inline QString mpvEncode(const QString& in, const QString& out, const char* codec,
                         const char* container) {
    mpv_handle* h = mpv_create();
    if (h == nullptr) {
        return {};
    }
    const QByteArray target = out.toUtf8();
    mpv_set_option_string(h, "config", "no");
    mpv_set_option_string(h, "terminal", "no");
    mpv_set_option_string(h, "vid", "no");
    mpv_set_option_string(h, "o", target.constData());
    mpv_set_option_string(h, "of", container);
    mpv_set_option_string(h, "oac", codec);
    if (mpv_initialize(h) < 0) {
        mpv_terminate_destroy(h);
        return {};
    }
    const QByteArray source = in.toUtf8();
    const char* args[] = {"loadfile", source.constData(), nullptr};
    mpv_command(h, args);
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        const mpv_event* event = mpv_wait_event(h, 1.0);
        if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_SHUTDOWN) {
            break;
        }
    }
    mpv_terminate_destroy(h);  // finishes the output file
    return QFileInfo(out).size() > 0 ? out : QString();
}

// What a raw 16-bit stereo 44.1 kHz PCM file holds.
struct PcmSummary {
    double seconds = 0;  // length of the whole file
    double hz = 0;       // tone of the left channel, from its rising zero crossings
    int peak = 0;        // largest magnitude
};

inline PcmSummary summarizePcm(const QByteArray& raw) {
    PcmSummary s;
    const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
    const qsizetype frames = raw.size() / 4;
    s.seconds = double(frames) / kRate;
    // The middle of the sound: no codec edges.
    const qsizetype from = frames / 10;
    const qsizetype to = frames - frames / 10;
    int crossings = 0;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < frames; ++i) {
        s.peak = std::max(s.peak, std::abs(int(samples[i * 2])));
        if (i > from && i < to && samples[(i - 1) * 2] < 0 && samples[i * 2] >= 0) {
            if (first < 0) {
                first = i;
            } else {
                ++crossings;
                last = i;
            }
        }
    }
    if (crossings > 0) {
        s.hz = double(crossings) * kRate / double(last - first);
    }
    return s;
}

inline PcmSummary summarizePcmFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return summarizePcm(file.readAll());
}

}  // namespace marlo::test
