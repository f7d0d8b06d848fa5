#include "cd/CddbText.h"

#include <QStringList>

namespace marlo {

int msfToFrames(quint32 packed) {
    const int minutes = static_cast<int>(packed & 0xFF);
    const int seconds = static_cast<int>((packed >> 8) & 0xFF);
    const int frames = static_cast<int>((packed >> 16) & 0xFF);
    return minutes * 60 * kFramesPerSecond + seconds * kFramesPerSecond + frames;
}

quint32 framesToMsf(int frames) {
    const int minutes = frames / (60 * kFramesPerSecond);
    const int rest = frames - minutes * 60 * kFramesPerSecond;
    const int seconds = rest / kFramesPerSecond;
    const int frame = rest - seconds * kFramesPerSecond;
    return static_cast<quint32>(minutes) + static_cast<quint32>(seconds) * 256u +
           static_cast<quint32>(frame) * 65536u;
}

int digitSum(int number) {
    int sum = 0;
    for (; number > 0; number /= 10) {
        sum += number % 10;
    }
    return sum;
}

QString padLeft(const QString& text, int width) {
    if (text.size() >= width) {
        return text.right(width);
    }
    return QString(width - text.size(), QLatin1Char('0')) + text;
}

QString trimLeftChar(const QString& text, const QString& c) {
    if (c.size() != 1) {
        return text;
    }
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == c.at(0)) {
        ++start;
    }
    return text.mid(start);
}

QString trimRightChar(const QString& text, const QString& c) {
    if (c.size() != 1) {
        return text;
    }
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == c.at(0)) {
        --end;
    }
    return text.left(end);
}

QString removeTopLine(const QString& text) {
    const qsizetype lineEnd = text.indexOf(QLatin1String("\r\n"));
    return lineEnd < 0 ? QString() : text.mid(lineEnd + 2);
}

QString newLineFix(const QString& text) {
    QString fixed = text;
    fixed.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    return fixed;
}

QString pullData(QString& text, const QString& header) {
    QString result;
    for (qsizetype at = text.indexOf(header); at >= 0; at = text.indexOf(header)) {
        text.remove(0, at + header.size());
        const qsizetype lineEnd = text.indexOf(QLatin1String("\r\n"));
        result += lineEnd < 0 ? text : text.left(lineEnd);
        text = removeTopLine(text);
    }
    return result;
}

DiscTitleParts splitDiscTitle(const QString& title) {
    qsizetype at = title.indexOf(QLatin1String(" / "));
    qsizetype separator = 3;
    if (at < 0) {
        at = title.indexOf(QLatin1Char('/'));
        separator = 1;
    }
    if (at < 0) {
        return {title, title};
    }
    return {trimRightChar(title.left(at), QStringLiteral(" ")),
            trimLeftChar(title.mid(at + separator), QStringLiteral(" "))};
}

QString DiscId::queryText() const {
    QStringList parts{id, QString::number(tracks)};
    for (int i = 0; i < tracks; ++i) {
        parts << QString::number(msfToFrames(toc.at(i)));
    }
    parts << QString::number(discLength);
    return parts.join(QLatin1Char(' '));
}

DiscId computeDiscId(const QList<quint32>& packedStarts, const QList<quint32>& packedLengths) {
    DiscId disc;
    disc.tracks = static_cast<int>(packedStarts.size());
    if (disc.tracks == 0 || packedLengths.size() != packedStarts.size()) {
        return disc;
    }
    const auto secondsOf = [](quint32 packed) {
        return static_cast<int>(packed & 0xFF) * 60 + static_cast<int>((packed >> 8) & 0xFF);
    };
    disc.toc = packedStarts;
    for (quint32 length : packedLengths) {
        disc.trackSeconds << secondsOf(length);
    }
    // The drive's length of the last track ends one frame before the lead-out.
    const int leadOut = msfToFrames(packedStarts.last()) + msfToFrames(packedLengths.last()) + 1;
    disc.toc << framesToMsf(leadOut);
    disc.discLength = secondsOf(disc.toc.last()) - secondsOf(packedStarts.first());
    int n = 0;
    for (quint32 start : packedStarts) {
        n += digitSum(secondsOf(start));
    }
    n %= 255;
    disc.id =
        (padLeft(QString::number(n, 16), 2) + padLeft(QString::number(disc.discLength, 16), 4) +
         padLeft(QString::number(disc.tracks, 16), 2))
            .toLower();
    return disc;
}

}  // namespace marlo
