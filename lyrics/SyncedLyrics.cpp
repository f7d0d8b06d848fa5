#include "lyrics/SyncedLyrics.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#include "platform/TextCodec.h"

namespace marlo {

int SyncedLyrics::lineAt(qint64 positionMs) const {
    const qint64 at = positionMs + offsetMs;
    const auto it = std::upper_bound(lines.begin(), lines.end(), at,
                                     [](qint64 t, const LyricLine& line) { return t < line.ms; });
    return int(it - lines.begin()) - 1;
}

int SyncedLyrics::wordAt(int line, qint64 positionMs) const {
    if (line < 0 || line >= lines.size()) {
        return -1;
    }
    const QList<LyricWord>& words = lines[line].words;
    const qint64 at = positionMs + offsetMs;
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

QByteArray withLrcOffset(const QByteArray& lrc, qint64 offsetMs) {
    static const QRegularExpression offsetLine(QStringLiteral("^\\s*\\[offset:[^\\]]*\\]\\s*$"),
                                               QRegularExpression::CaseInsensitiveOption);
    QStringList lines = decodeLyricsBytes(lrc).split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return offsetLine.match(line).hasMatch(); });
    lines.prepend(QStringLiteral("[offset:%1]").arg(offsetMs));
    return lines.join(QLatin1Char('\n')).toUtf8();
}

}  // namespace marlo
