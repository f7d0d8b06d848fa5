#include "tests/support/AudioAnalysis.h"

#include <QFile>
#include <QtEndian>
#include <cmath>

namespace marlo::test {

QString writeSineWav(const QString& path, double hz, int milliseconds, int rate) {
    const qint64 frames = static_cast<qint64>(rate) * milliseconds / 1000;
    QByteArray data;
    data.reserve(static_cast<qsizetype>(frames * 4));
    for (qint64 i = 0; i < frames; ++i) {
        const auto v = static_cast<qint16>(12000 * std::sin(2 * M_PI * hz * i / rate));
        for (int c = 0; c < 2; ++c) {
            data.append(static_cast<char>(v & 0xFF));
            data.append(static_cast<char>((v >> 8) & 0xFF));
        }
    }
    auto u32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    auto u16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray wav = "RIFF" + u32(36 + static_cast<quint32>(data.size())) + "WAVEfmt " + u32(16) +
                     u16(1) + u16(2) + u32(static_cast<quint32>(rate)) +
                     u32(static_cast<quint32>(rate) * 4) + u16(4) + u16(16) + "data" +
                     u32(static_cast<quint32>(data.size())) + data;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(wav);
    }
    return path;
}

std::optional<WavFormat> wavFormat(const QByteArray& bytes) {
    // Walk the chunks for "fmt " and "data"; a recording stopped early may give a data size of
    // 0 or too large, so the data runs to the end of the file.
    WavFormat format;
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        if (id == "fmt " && pos + 16 <= bytes.size()) {
            format.channels = qFromLittleEndian<quint16>(bytes.constData() + pos + 10);
            format.rate =
                static_cast<int>(qFromLittleEndian<quint32>(bytes.constData() + pos + 12));
        }
        if (id == "data") {
            format.dataStart = pos + 8;
            if (format.channels < 1 || format.rate < 1) {
                return std::nullopt;
            }
            return format;
        }
        pos += 8 + size;
    }
    return std::nullopt;
}

QList<AudioSlice> analysePcm(const char* bytes, qsizetype frames, int channels, int rate,
                             double sliceSeconds, double startSeconds) {
    QList<AudioSlice> slices;
    const auto* samples = reinterpret_cast<const qint16*>(bytes);
    const qsizetype perSlice = static_cast<qsizetype>(sliceSeconds * rate);
    for (qsizetype start = 0; start + perSlice <= frames; start += perSlice) {
        double sum = 0;
        int crossings = 0;
        qint16 previous = 0;
        for (qsizetype i = start; i < start + perSlice; ++i) {
            const qint16 s = qFromLittleEndian<qint16>(samples + i * channels);
            sum += static_cast<double>(s) * s;
            if ((previous < 0 && s >= 0) || (previous >= 0 && s < 0)) {
                ++crossings;
            }
            previous = s;
        }
        AudioSlice slice;
        slice.startSeconds = startSeconds + static_cast<double>(start) / rate;
        slice.rms = std::sqrt(sum / perSlice) / 32768.0;
        slice.frequency = crossings / 2.0 / sliceSeconds;
        slices.append(slice);
    }
    return slices;
}

QList<AudioSlice> analyseWav(const QString& path, double sliceSeconds) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = f.readAll();
    const std::optional<WavFormat> format = wavFormat(bytes);
    if (!format) {
        return {};
    }
    const qsizetype frames = (bytes.size() - format->dataStart) / (2 * format->channels);
    return analysePcm(bytes.constData() + format->dataStart, frames, format->channels, format->rate,
                      sliceSeconds);
}

}  // namespace marlo::test
