#include "lyrics/FileLyrics.h"

#include <QFile>
#include <QFileInfo>

#include "lyrics/LrcParse.h"
#include "platform/media/FluidSynthRenderer.h"
#include "platform/media/LyricTags.h"

namespace marlo::filelyrics {

QString lrcBeside(const QString& mediaPath) {
    const QFileInfo media(mediaPath);
    const QString base = media.path() + QLatin1Char('/') + media.completeBaseName();
    for (const char* suffix : {".lrc", ".LRC", ".Lrc"}) {
        const QString candidate = base + QLatin1String(suffix);
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return {};
}

SyncedLyrics fromLrcBeside(const QString& mediaPath) {
    QFile file(lrcBeside(mediaPath));
    if (file.fileName().isEmpty() || file.size() > kMaxLrcBytes ||
        !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parseLrc(file.readAll());
}

SyncedLyrics fromTags(const QString& mediaPath, QString* album) {
    const TaggedLyrics tagged = readTaggedLyrics(mediaPath);
    if (album != nullptr) {
        *album = tagged.album;
    }
    SyncedLyrics lyrics;
    for (const TaggedLyrics::Timed& line : tagged.timed) {
        QString text = line.text;
        // Frames often carry each line's end at its front.
        while (text.startsWith(QLatin1Char('\n')) || text.startsWith(QLatin1Char('\r'))) {
            text.remove(0, 1);
        }
        lyrics.lines.append({line.ms, text.trimmed(), {}});
    }
    std::stable_sort(lyrics.lines.begin(), lyrics.lines.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.ms < b.ms; });
    if (lyrics.lines.isEmpty() && !tagged.text.trimmed().isEmpty()) {
        lyrics = parseLrc(tagged.text.toUtf8());
    }
    return lyrics;
}

SyncedLyrics fromMidi(const QByteArray& file) {
    const std::vector<FluidSynthRenderer::TimedText> events = FluidSynthRenderer::textEvents(file);
    const bool hasLyricEvents = std::any_of(events.begin(), events.end(),
                                            [](const auto& event) { return event.type == 5; });
    SyncedLyrics lyrics;
    LyricLine line;
    auto endLine = [&] {
        if (!line.text.trimmed().isEmpty()) {
            lyrics.lines.append(std::move(line));
        }
        line = {};
    };
    for (const FluidSynthRenderer::TimedText& event : events) {
        if (event.type != (hasLyricEvents ? 5 : 1) || event.text.startsWith('@')) {
            continue;  // "@T", "@L" ... are a karaoke file's title and language
        }
        QString text = decodeLyricsBytes(event.text);
        if (text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1Char('\\'))) {
            endLine();
            text.remove(0, 1);
        }
        const bool endsLine = text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'));
        text.remove(QLatin1Char('\r'));
        text.remove(QLatin1Char('\n'));
        if (!text.isEmpty()) {
            if (line.text.isEmpty()) {
                line.ms = event.ms;
            }
            line.words.append({event.ms, int(line.text.size()), int(text.size())});
            line.text += text;
        }
        if (endsLine) {
            endLine();
        }
    }
    endLine();
    return lyrics;
}

}  // namespace marlo::filelyrics
