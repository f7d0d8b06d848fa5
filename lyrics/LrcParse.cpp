#include "lyrics/LrcParse.h"

#include <QStringList>
#include <algorithm>

namespace marlo {

namespace {

bool digit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// "mm:ss", "mm:ss.x", "mm:ss.xx" or "mm:ss.xxx" (":" also separates the fraction); seconds are
// two digits below 60. -1 for anything else.
qint64 timeOf(QStringView tag) {
    qsizetype i = 0;
    qint64 minutes = 0;
    while (i < tag.size() && digit(tag[i]) && i < 5) {
        minutes = minutes * 10 + tag[i].digitValue();
        ++i;
    }
    if (i == 0 || i + 3 > tag.size() || tag[i] != QLatin1Char(':') || !digit(tag[i + 1]) ||
        !digit(tag[i + 2])) {
        return -1;
    }
    const int seconds = tag[i + 1].digitValue() * 10 + tag[i + 2].digitValue();
    if (seconds >= 60) {
        return -1;
    }
    i += 3;
    qint64 ms = (minutes * 60 + seconds) * 1000;
    if (i == tag.size()) {
        return ms;
    }
    if (tag[i] != QLatin1Char('.') && tag[i] != QLatin1Char(':')) {
        return -1;
    }
    const qsizetype fraction = tag.size() - i - 1;
    if (fraction < 1 || fraction > 3) {
        return -1;
    }
    int value = 0;
    for (qsizetype k = i + 1; k < tag.size(); ++k) {
        if (!digit(tag[k])) {
            return -1;
        }
        value = value * 10 + tag[k].digitValue();
    }
    static constexpr int kScale[] = {0, 100, 10, 1};
    return ms + value * kScale[fraction];
}

// "[key:value]" with a key of letters: an ID tag such as "[ar:...]" or "[offset:...]".
bool idTag(QStringView tag, QStringView& key, QStringView& value) {
    const qsizetype colon = tag.indexOf(QLatin1Char(':'));
    if (colon <= 0) {
        return false;
    }
    for (qsizetype i = 0; i < colon; ++i) {
        if (!tag[i].isLetter()) {
            return false;
        }
    }
    key = tag.left(colon);
    value = tag.mid(colon + 1).trimmed();
    return true;
}

// The text of a line with its word times taken out into `words`.
QString wordsOf(QStringView text, QList<LyricWord>& words) {
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == QLatin1Char('<')) {
            const qsizetype close = text.indexOf(QLatin1Char('>'), i + 1);
            const qint64 ms = close > i ? timeOf(text.mid(i + 1, close - i - 1)) : -1;
            if (ms >= 0) {
                words.append({ms, int(out.size()), 0});
                i = close + 1;
                continue;
            }
        }
        out += text[i++];
    }
    for (qsizetype w = 0; w < words.size(); ++w) {
        const int end = w + 1 < words.size() ? words[w + 1].start : int(out.size());
        words[w].length = end - words[w].start;
    }
    // A time tag after the last word only ends it.
    while (!words.isEmpty() && words.last().length == 0) {
        words.removeLast();
    }
    return out;
}

}  // namespace

SyncedLyrics parseLrc(const QByteArray& bytes) {
    SyncedLyrics lyrics;
    const QString text = decodeLyricsBytes(bytes);
    QStringList untimed;
    QList<qint64> times;
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), from);
        if (end < 0) {
            end = text.size();
        }
        QStringView line = QStringView(text).mid(from, end - from);
        from = end + 1;
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        // A byte order mark inside the text (files joined together) is no part of a line.
        while (line.startsWith(QChar(0xFEFF))) {
            line = line.mid(1);
        }
        times.clear();
        bool onlyIdTags = false;
        qsizetype at = 0;
        while (at < line.size() && line[at] == QLatin1Char('[')) {
            const qsizetype close = line.indexOf(QLatin1Char(']'), at + 1);
            if (close < 0) {
                break;
            }
            const QStringView tag = line.mid(at + 1, close - at - 1);
            const qint64 ms = timeOf(tag);
            QStringView key, value;
            if (ms >= 0) {
                times.append(ms);
            } else if (times.isEmpty() && idTag(tag, key, value)) {
                if (key.compare(QLatin1String("offset"), Qt::CaseInsensitive) == 0) {
                    bool ok = false;
                    const qint64 offset = value.toLongLong(&ok);
                    if (ok && offset > -3600000 && offset < 3600000) {
                        lyrics.offsetMs = offset;
                    }
                }
                onlyIdTags = true;
            } else {
                break;
            }
            at = close + 1;
        }
        if (times.isEmpty()) {
            if (!onlyIdTags || at < line.size()) {
                untimed.append(line.toString());
            }
            continue;
        }
        QList<LyricWord> words;
        const QString lineText = wordsOf(line.mid(at), words);
        for (const qint64 ms : times) {
            LyricLine timed{ms, lineText, words};
            // A line sung again keeps its word rhythm: its words move with it.
            for (LyricWord& word : timed.words) {
                word.ms += ms - times.first();
            }
            lyrics.lines.append(std::move(timed));
        }
    }
    std::stable_sort(lyrics.lines.begin(), lyrics.lines.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.ms < b.ms; });
    if (lyrics.lines.isEmpty()) {
        while (!untimed.isEmpty() && untimed.last().trimmed().isEmpty()) {
            untimed.removeLast();
        }
        lyrics.plain = untimed.join(QLatin1Char('\n'));
        lyrics.offsetMs = 0;
    }
    return lyrics;
}

}  // namespace marlo
