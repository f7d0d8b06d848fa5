#include "platform/media/LyricTags.h"

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tpropertymap.h>

#include <QFile>

namespace marlo {
namespace {

QString text(const TagLib::String& value) {
    return QString::fromStdString(value.to8Bit(true));
}

// Milliseconds per MPEG audio frame of the file, 0 when unknown.
double frameMs(const TagLib::MPEG::Properties* audio) {
    if (audio == nullptr || audio->sampleRate() <= 0) {
        return 0;
    }
    const int samples = audio->layer() == 1                                  ? 384
                        : audio->layer() == 2                                ? 1152
                        : audio->version() == TagLib::MPEG::Header::Version1 ? 1152
                                                                             : 576;
    return 1000.0 * samples / audio->sampleRate();
}

void readSylt(const QString& path, TaggedLyrics& out) {
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File file(name.constData(), true, TagLib::AudioProperties::Fast);
    if (!file.isValid() || !file.hasID3v2Tag()) {
        return;
    }
    const TagLib::ID3v2::FrameList frames = file.ID3v2Tag()->frameListMap()["SYLT"];
    for (const TagLib::ID3v2::Frame* frame : frames) {
        const auto* sylt = dynamic_cast<const TagLib::ID3v2::SynchronizedLyricsFrame*>(frame);
        if (sylt == nullptr || sylt->type() != TagLib::ID3v2::SynchronizedLyricsFrame::Lyrics) {
            continue;
        }
        double scale = 1;
        if (sylt->timestampFormat() == TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMpegFrames) {
            scale = frameMs(file.audioProperties());
            if (scale <= 0) {
                continue;
            }
        }
        for (const auto& line : sylt->synchedText()) {
            out.timed.append({qint64(line.time * scale), text(line.text)});
        }
        if (!out.timed.isEmpty()) {
            return;
        }
    }
}

}  // namespace

TaggedLyrics readTaggedLyrics(const QString& path) {
    TaggedLyrics out;
    const QByteArray name = QFile::encodeName(path);
    const TagLib::FileRef file(name.constData(), false);
    if (file.isNull()) {
        return out;
    }
    if (file.tag() != nullptr) {
        out.album = text(file.tag()->album()).trimmed();
    }
    const TagLib::PropertyMap properties = file.file()->properties();
    for (const char* key : {"LYRICS", "UNSYNCEDLYRICS"}) {
        const auto it = properties.find(key);
        if (it != properties.end() && !it->second.isEmpty()) {
            out.text = text(it->second.front());
            break;
        }
    }
    if (dynamic_cast<TagLib::MPEG::File*>(file.file()) != nullptr) {
        readSylt(path, out);
    }
    return out;
}

}  // namespace marlo
