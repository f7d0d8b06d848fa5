#include "library/TitleReaders.h"

#include <QFile>
#include <QFileInfo>

#include "library/FileTitle.h"
#include "platform/TextCodec.h"

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

}  // namespace

bool titleFromTagBytes(const QByteArray& tail, QString& title, QString& artist) {
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
    title = fieldText(tail, marker + 3, kTagFieldLength);
    artist = fieldText(tail, marker + 3 + kTagFieldLength, kTagFieldLength);
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
    FileReading reading;
    if (!titleFromTagBytes(file.read(kTagWindow), reading.title, reading.artist)) {
        return ReadGeneric(path);
    }
    reading.path = path;
    return reading;
}

FileReading ReadGeneric(const QString& path) {
    FileReading reading;
    if (QFileInfo(path).isDir()) {
        reading.folder = true;
        return reading;
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
