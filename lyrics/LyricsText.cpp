#include "lyrics/LyricsText.h"

#include <QRegularExpression>

namespace marlo::lyricstext {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

QString newlinesToCrLf(const QString& s) {
    QString out;
    out.reserve(s.size() + s.size() / 16);
    for (const QChar c : s) {
        if (c == QLatin1Char('\n')) {
            out += kCrLf;
        } else {
            out += c;
        }
    }
    return out;
}

QString stripTags(const QString& s) {
    QString text = s;
    for (;;) {
        const qsizetype open = text.indexOf(QLatin1Char('<'));
        const qsizetype close = text.indexOf(QLatin1Char('>'));
        if (open < 0 || close < 0 || close < open) {
            return text;
        }
        text.remove(open, close - open + 1);
    }
}

QString between(const QString& s, const QString& start, const QString& end) {
    const qsizetype at = s.indexOf(start);
    if (at < 0) {
        return {};
    }
    const qsizetype from = at + start.size();
    const qsizetype to = s.indexOf(end, from);
    if (to < 0) {
        return {};
    }
    return s.mid(from, to - from);
}

QString trimBlankLines(const QString& s) {
    QStringView text(s);
    for (;;) {
        if (text.startsWith(QLatin1Char(' '))) {
            text = text.mid(1);
        } else if (text.startsWith(kCrLf)) {
            text = text.mid(2);
        } else {
            break;
        }
    }
    for (;;) {
        if (text.endsWith(QLatin1Char(' '))) {
            text.chop(1);
        } else if (text.endsWith(kCrLf)) {
            text.chop(2);
        } else {
            break;
        }
    }
    return text.toString();
}

QString dropLines(const QString& s, int n) {
    QStringView text(s);
    for (int pass = 0; pass < n; ++pass) {
        const qsizetype end = text.indexOf(kCrLf);
        if (end >= 0) {
            text = text.mid(end + 2);
        }
    }
    return text.toString();
}

QString storedFormOfPlainLyrics(const QString& plain) {
    QString text = plain;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
    return newlinesToCrLf(trimBlankLines(text));
}

QString withoutTimeTags(const QString& synced) {
    static const QRegularExpression tag(QStringLiteral("^(\\s*\\[[0-9:.]*\\])+ ?"),
                                        QRegularExpression::MultilineOption);
    QString text = synced;
    text.remove(tag);
    return text;
}

}  // namespace marlo::lyricstext
