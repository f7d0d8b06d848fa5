#include "lyrics/SyncedLyrics.h"

#include <QStringList>
#include <algorithm>
#include <limits>

#include "platform/TextCodec.h"

namespace marlo {

namespace {

// A position moved by the offset, held at the ends of the range: an offset read from a file
// may be anything.
qint64 shifted(qint64 positionMs, qint64 offsetMs) {
    qint64 at = 0;
    if (__builtin_add_overflow(positionMs, offsetMs, &at)) {
        return offsetMs > 0 ? std::numeric_limits<qint64>::max()
                            : std::numeric_limits<qint64>::min();
    }
    return at;
}

}  // namespace

int SyncedLyrics::lineAt(qint64 positionMs) const {
    const qint64 at = shifted(positionMs, offsetMs);
    const auto it = std::upper_bound(lines.begin(), lines.end(), at,
                                     [](qint64 t, const LyricLine& line) { return t < line.ms; });
    return int(it - lines.begin()) - 1;
}

int SyncedLyrics::wordAt(int line, qint64 positionMs) const {
    if (line < 0 || line >= lines.size()) {
        return -1;
    }
    const QList<LyricWord>& words = lines[line].words;
    const qint64 at = shifted(positionMs, offsetMs);
    const auto it = std::upper_bound(words.begin(), words.end(), at,
                                     [](qint64 t, const LyricWord& word) { return t < word.ms; });
    return int(it - words.begin()) - 1;
}

QString decodeLyricsBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.mid(3));
    }
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        QString text;
        text.reserve((bytes.size() - 2) / 2);
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            text += QChar(littleEndian ? char16_t(a | (b << 8)) : char16_t((a << 8) | b));
        }
        return text;
    }
    return decodeText(bytes);
}

namespace {

QString timeTag(qint64 ms, char open, char close) {
    ms = std::max<qint64>(ms, 0);
    return QStringLiteral("%1%2:%3.%4%5")
        .arg(QLatin1Char(open))
        .arg(ms / 60000, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'))
        .arg(QLatin1Char(close));
}

}  // namespace

QByteArray toLrc(const SyncedLyrics& lyrics) {
    if (!lyrics.synced()) {
        return lyrics.plain.toUtf8();
    }
    QString out = QStringLiteral("[offset:%1]\n").arg(lyrics.offsetMs);
    for (const LyricLine& line : lyrics.lines) {
        out += timeTag(line.ms, '[', ']');
        qsizetype at = 0;
        for (const LyricWord& word : line.words) {
            out += QStringView(line.text).mid(at, word.start - at);
            out += timeTag(word.ms, '<', '>');
            at = word.start;
        }
        out += QStringView(line.text).mid(at);
        out += QLatin1Char('\n');
    }
    return out.toUtf8();
}

}  // namespace marlo
