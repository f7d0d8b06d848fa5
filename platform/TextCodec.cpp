#include "platform/TextCodec.h"

#include <QStringDecoder>

namespace marlo {
namespace {

// 0x80..0x9F of Windows-1252; the rest of the code page equals Latin-1. Unassigned bytes map to
// the same code point as in Latin-1, as Windows' own conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeCp1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b >= 0x80 && b <= 0x9F ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return out;
}

}  // namespace

QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    return decodeCp1252(bytes);
}

QByteArray encodeText(const QString& text) {
    return text.toUtf8();
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            lines.append(bytes.mid(start));
            break;
        }
        qsizetype lineEnd = end;
        if (lineEnd > start && bytes[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        lines.append(bytes.mid(start, lineEnd - start));
        start = end + 1;
    }
    return lines;
}

QByteArray joinLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += encodeText(line);
        out += "\r\n";
    }
    return out;
}

}  // namespace marlo
