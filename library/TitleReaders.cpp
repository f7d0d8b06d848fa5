#include "library/TitleReaders.h"

#include <QFile>
#include <QFileInfo>

#include "library/FileTitle.h"
#include "library/ItemFormats.h"
#include "platform/TextCodec.h"
#include "platform/media/FileTags.h"

namespace marlo {
namespace {

constexpr qint64 kTagWindow = 256;
constexpr int kTagFieldLength = 30;

// A fixed-width text field: ends at its first NUL (the padding most taggers and trackers
// write), then loses trailing blanks; inner blanks stay.
QString fieldText(const QByteArray& bytes, qsizetype from, qsizetype length) {
    QByteArray field = bytes.mid(from, length);
    const qsizetype nul = field.indexOf('\0');
    if (nul >= 0) {
        field.truncate(nul);
    }
    while (field.endsWith(' ')) {
        field.chop(1);
    }
    return decodeText(field);
}

bool matchesModule(const QString& path) {
    for (const char* ending : {".it", ".mod", ".xm", ".s3m"}) {
        if (path.endsWith(QLatin1String(ending), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

// The two raw 30-byte fields after the ID3v1 marker; false when the bytes hold no marker.
bool id3v1Fields(const QByteArray& tail, QByteArray& title, QByteArray& artist) {
    // A real ID3v1 tag fills the last 128 bytes; prefer it, so the letters "tag" somewhere in
    // the audio data before it cannot be taken for the marker.
    qsizetype marker = -1;
    if (tail.size() >= 128 && tail.mid(tail.size() - 128, 3) == "TAG") {
        marker = tail.size() - 128;
    } else {
        marker = tail.toLower().indexOf("tag");
    }
    if (marker < 0) {
        return false;
    }
    title = tail.mid(marker + 3, kTagFieldLength);
    artist = tail.mid(marker + 3 + kTagFieldLength, kTagFieldLength);
    return true;
}

// An ID3v1 field filled to its last byte may be a longer value cut off; the ID3v2 value whose
// start it is, in either of the encodings taggers write, is the whole of it.
QString uncut(const QByteArray& field, const QString& v1, const QString& v2) {
    if (field.size() < kTagFieldLength || field.contains('\0') || v2.size() <= v1.size()) {
        return v1;
    }
    const bool same =
        v2.toUtf8().left(kTagFieldLength) == field || v2.toLatin1().left(kTagFieldLength) == field;
    return same ? v2 : v1;
}

// A title the store cannot hold gives way to the file name's; the add goes on.
void keepUsableTitle(FileReading& reading, const QString& path) {
    if (!isUsableTitle(reading.title)) {
        reading.title = titleFromFileName(path);
    }
}

// Title and artist from the file's tags (TagLib), else the title from the file name.
FileReading readWithTags(const QString& path) {
    FileReading reading;
    reading.path = path;
    const FileTags tags = readFileTags(path);
    reading.title = tags.title;
    reading.artist = tags.artist;
    keepUsableTitle(reading, path);
    return reading;
}

}  // namespace

bool titleFromTagBytes(const QByteArray& tail, QString& title, QString& artist) {
    QByteArray titleField;
    QByteArray artistField;
    if (!id3v1Fields(tail, titleField, artistField)) {
        return false;
    }
    title = fieldText(titleField, 0, kTagFieldLength);
    artist = fieldText(artistField, 0, kTagFieldLength);
    return true;
}

QString moduleNameFromHeader(const QByteArray& header) {
    if (header.startsWith("IMPM")) {
        return fieldText(header, 4, 28);
    }
    static const QByteArray xmMarker("extended module: ");
    if (header.left(xmMarker.size()).toLower() == xmMarker) {
        return fieldText(header, xmMarker.size(), 20);
    }
    return fieldText(header, 0, 20);
}

FileReading ReadMp3Tag(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || file.size() < kTagWindow || !file.open(QIODevice::ReadOnly) ||
        !file.seek(file.size() - kTagWindow)) {
        return ReadGeneric(path);
    }
    QByteArray titleField;
    QByteArray artistField;
    if (!id3v1Fields(file.read(kTagWindow), titleField, artistField)) {
        file.close();
        return readWithTags(path);  // ID3v2 or APE, else the file name
    }
    file.close();
    FileReading reading;
    reading.path = path;
    reading.title = fieldText(titleField, 0, kTagFieldLength);
    reading.artist = fieldText(artistField, 0, kTagFieldLength);
    const FileTags v2 = readId3v2Tags(path);
    reading.title = uncut(titleField, reading.title, v2.title);
    reading.artist = uncut(artistField, reading.artist, v2.artist);
    keepUsableTitle(reading, path);
    return reading;
}

FileReading ReadGeneric(const QString& path) {
    FileReading reading;
    if (QFileInfo(path).isDir()) {
        reading.folder = true;
        return reading;
    }
    // An ".MP3" that reaches here (the case-sensitive flows) is read by its name.
    QString typeTag;
    if (!matchesModule(path) && !path.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive) &&
        acceptItemPath(MediaKind::Audio, path, typeTag)) {
        return readWithTags(path);
    }
    reading.title = titleFromFileName(path);
    if (matchesModule(path)) {
        QFile file(path);
        // The IT name reaches to byte 32, the XM name to byte 37. A module that cannot be read
        // keeps the file name.
        if (file.open(QIODevice::ReadOnly)) {
            reading.title = moduleNameFromHeader(file.read(64));
        }
    }
    reading.path = path;
    return reading;
}

}  // namespace marlo
