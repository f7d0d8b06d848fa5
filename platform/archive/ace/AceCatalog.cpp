#include "platform/archive/ace/AceCatalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/TextCodec.h"
#include "platform/archive/ace/AceComment.h"
#include "platform/archive/ace/AceCrc.h"
#include "platform/archive/ace/AceFailure.h"

namespace marlo::ace {

namespace {

constexpr quint16 kAddSize = 0x0001;
constexpr quint16 kHasComment = 0x0002;
constexpr quint16 kWideSizes = 0x0004;
constexpr quint16 kMultiVolume = 0x0800;
constexpr quint16 kSolid = 0x8000;
constexpr quint16 kFromPrevious = 0x1000;
constexpr quint16 kToNext = 0x2000;
constexpr quint16 kPassword = 0x4000;
constexpr quint32 kDirectoryAttribute = 0x10;

constexpr quint8 kMainType = 0;
constexpr quint8 kFileType = 1;
constexpr quint8 kWideFileType = 3;

const QByteArray kSignature = QByteArrayLiteral("**ACE**");
constexpr qint64 kSignatureSearch = 512 * 1024;  // room for a self-extractor in front
constexpr int kMaxVolumes = 1000;
constexpr qint64 kMaxSize = qint64(1) << 62;

// Little-endian fields of one header; reading past the end clears `ok` and yields zeros.
class Fields {
  public:
    explicit Fields(const QByteArray& bytes, qsizetype start = 0) : bytes_(bytes), pos_(start) {}

    quint64 number(int width) {
        if (!has(width)) {
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < width; ++i) {
            value |= quint64(quint8(bytes_[pos_ + i])) << (8 * i);
        }
        pos_ += width;
        return value;
    }
    QByteArray bytes(qsizetype count) {
        if (!has(count)) {
            return {};
        }
        const QByteArray part = bytes_.mid(pos_, count);
        pos_ += count;
        return part;
    }
    bool ok() const { return ok_; }

  private:
    bool has(qsizetype count) {
        ok_ = ok_ && count >= 0 && pos_ + count <= bytes_.size();
        return ok_;
    }

    const QByteArray& bytes_;
    qsizetype pos_;
    bool ok_ = true;
};

struct Header {
    QByteArray body;  // from the type byte to the end of the header
    quint8 type = 0;
    quint16 flags = 0;
    qint64 end = 0;
};

// Reads and checks the header at `position`: false when it is cut off or its checksum fails.
bool readHeader(QFile& file, qint64 position, Header& header) {
    if (position < 0 || position + 4 > file.size() || !file.seek(position)) {
        return false;
    }
    const QByteArray prefix = file.read(4);
    if (prefix.size() != 4) {
        return false;
    }
    Fields fields(prefix);
    const quint16 checksum = quint16(fields.number(2));
    const qint64 size = qint64(fields.number(2));
    if (size < 3 || position + 4 + size > file.size()) {
        return false;
    }
    header.body = file.read(size);
    if (header.body.size() != size || crc16(header.body) != checksum) {
        return false;
    }
    header.type = quint8(header.body[0]);
    header.flags = quint16(quint8(header.body[1]) | quint8(header.body[2]) << 8);
    header.end = position + 4 + size;
    return true;
}

QString memberName(QByteArray raw) {
    const qsizetype end = raw.indexOf('\0');
    if (end >= 0) {
        raw.truncate(end);
    }
    return decodeText(raw).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

struct MainHeader {
    quint16 flags = 0;
    int volume = 0;
    QString comment;
    bool commentDamaged = false;
};

bool parseMainHeader(const Header& header, MainHeader& main) {
    if (header.type != kMainType || (header.flags & kAddSize)) {
        return false;
    }
    Fields fields(header.body, 3);
    if (fields.bytes(7) != kSignature) {
        return false;
    }
    fields.number(1);  // version needed
    fields.number(1);  // version made by
    fields.number(1);  // host system
    main.volume = int(fields.number(1));
    fields.number(4);  // time
    fields.bytes(8);   // reserved
    // The advert length byte is there even when the flag says there is no advert.
    fields.bytes(qsizetype(fields.number(1)));
    QByteArray packedComment;
    if (header.flags & kHasComment) {
        packedComment = fields.bytes(qsizetype(fields.number(2)));
    }
    if (!fields.ok()) {
        return false;
    }
    main.flags = header.flags;
    if (!packedComment.isEmpty()) {
        try {
            main.comment = decodeText(unpackComment(packedComment));
        } catch (const AceFailure&) {
            main.commentDamaged = true;
        }
    }
    return true;
}

// Finds the main header at the start or, behind a self-extractor, further in.
ArchiveStatus findMainHeader(QFile& file, MainHeader& main, qint64& next) {
    Header header;
    if (readHeader(file, 0, header) && parseMainHeader(header, main)) {
        next = header.end;
        return ArchiveStatus::Ok;
    }
    file.seek(0);
    const QByteArray start = file.read(kSignatureSearch);
    bool signatureSeen = false;
    for (qsizetype at = start.indexOf(kSignature); at >= 0;
         at = start.indexOf(kSignature, at + 1)) {
        if (at < 7) {
            continue;
        }
        signatureSeen = true;
        if (readHeader(file, at - 7, header) && parseMainHeader(header, main)) {
            next = header.end;
            return ArchiveStatus::Ok;
        }
    }
    return signatureSeen ? ArchiveStatus::Damaged : ArchiveStatus::NotAnArchive;
}

// Adds the members of one file header; false when the header does not hold together.
bool addFileHeader(const Header& header, const QString& volumePath, qint64 fileSize,
                   AceCatalog& catalog, qint64& next) {
    const bool wide = header.flags & kWideSizes;
    if (wide != (header.type == kWideFileType)) {
        return false;
    }
    Fields fields(header.body, 3);
    const quint64 packedSize = fields.number(wide ? 8 : 4);
    const quint64 size = fields.number(wide ? 8 : 4);
    fields.number(4);  // time
    const quint32 attributes = quint32(fields.number(4));
    const quint32 crc = quint32(fields.number(4));
    const quint8 method = quint8(fields.number(1));
    fields.number(1);  // quality
    fields.number(2);  // coder parameters
    fields.number(2);  // reserved
    const QByteArray rawName = fields.bytes(qsizetype(fields.number(2)));
    if (header.flags & kHasComment) {
        fields.bytes(qsizetype(fields.number(2)));
    }
    const qint64 dataStart = header.end;
    if (!fields.ok() || size > quint64(kMaxSize) || packedSize > quint64(fileSize - dataStart)) {
        return false;
    }
    next = dataStart + qint64(packedSize);
    const AceSegment segment{volumePath, dataStart, qint64(packedSize)};

    if (header.flags & kFromPrevious) {
        // The rest of the member the previous volume ended with; without it (a later volume
        // opened on its own) the piece is useless.
        if (!catalog.entries.empty() && catalog.entries.back().continues) {
            AceEntry& entry = catalog.entries.back();
            entry.segments.append(segment);
            entry.crc = crc;
            entry.continues = header.flags & kToNext;
        }
        return true;
    }
    if (!catalog.entries.empty() && catalog.entries.back().continues) {
        catalog.entries.back().inMissingVolume = true;  // its continuation never came
    }
    AceEntry entry;
    entry.member.name = memberName(rawName);
    entry.member.size = qint64(size);
    entry.member.isFolder = attributes & kDirectoryAttribute;
    entry.member.encrypted = header.flags & kPassword;
    entry.method = method;
    entry.crc = crc;
    entry.segments.append(segment);
    entry.continues = header.flags & kToNext;
    catalog.entries.push_back(entry);
    return true;
}

struct VolumeInfo {
    int number = 0;
    bool multiVolume = false;
};

// Reads one volume's headers into the catalogue. `expected` is the volume number it must have,
// or -1 for the file the caller named.
ArchiveStatus readVolume(const QString& path, int expected, AceCatalog& catalog, VolumeInfo& info) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return ArchiveStatus::CannotOpen;
    }
    MainHeader main;
    qint64 position = 0;
    const ArchiveStatus found = findMainHeader(file, main, position);
    if (found != ArchiveStatus::Ok) {
        return found;
    }
    if (expected >= 0 && main.volume != (expected & 0xFF)) {
        return ArchiveStatus::NotAnArchive;  // a volume of some other set
    }
    if (expected < 0) {
        catalog.solid = main.flags & kSolid;
        catalog.comment = main.comment;
    }
    info.number = main.volume;
    info.multiVolume = main.flags & kMultiVolume;
    ArchiveStatus status = main.commentDamaged ? ArchiveStatus::Damaged : ArchiveStatus::Ok;

    const qint64 fileSize = file.size();
    while (position < fileSize) {
        Header header;
        if (!readHeader(file, position, header)) {
            return ArchiveStatus::Damaged;
        }
        if (header.type == kFileType || header.type == kWideFileType) {
            if (!addFileHeader(header, path, fileSize, catalog, position)) {
                return ArchiveStatus::Damaged;
            }
            continue;
        }
        if (header.type == kMainType) {
            return ArchiveStatus::Damaged;
        }
        // Recovery records and unknown blocks: skip their data.
        quint64 extra = 0;
        if (header.flags & kAddSize) {
            Fields fields(header.body, 3);
            extra = fields.number((header.flags & kWideSizes) ? 8 : 4);
            if (!fields.ok() || extra > quint64(fileSize - header.end)) {
                return ArchiveStatus::Damaged;
            }
        }
        position = header.end + qint64(extra);
    }
    return status;
}

}  // namespace

QString nextVolumeName(const QString& path) {
    const QFileInfo info(path);
    static const QRegularExpression numbered(QStringLiteral("^([cC])(\\d{2,3})$"));
    const QRegularExpressionMatch match = numbered.match(info.suffix());
    QString letter = QStringLiteral("c");
    int number = 0;
    if (match.hasMatch()) {
        letter = match.captured(1);
        number = match.captured(2).toInt() + 1;
    }
    const QString base = info.dir().filePath(info.completeBaseName() + QLatin1Char('.'));
    const QString digits = QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    const QString lower = base + letter.toLower() + digits;
    const QString upper = base + letter.toUpper() + digits;
    if (!QFileInfo::exists(lower) && QFileInfo::exists(upper)) {
        return upper;
    }
    return letter == QStringLiteral("C") && QFileInfo::exists(upper) ? upper : lower;
}

AceCatalog readCatalog(const QString& path) {
    AceCatalog catalog;
    VolumeInfo info;
    catalog.status = readVolume(path, -1, catalog, info);
    QString volumePath = path;
    for (int count = 1;
         info.multiVolume && catalog.status == ArchiveStatus::Ok && count < kMaxVolumes; ++count) {
        volumePath = nextVolumeName(volumePath);
        VolumeInfo next;
        const ArchiveStatus status = readVolume(volumePath, info.number + 1, catalog, next);
        if (status == ArchiveStatus::CannotOpen || status == ArchiveStatus::NotAnArchive) {
            break;  // the set ends here; a member running on is reported when read
        }
        catalog.status = status;
        info = next;
    }
    if (!catalog.entries.empty() && catalog.entries.back().continues) {
        catalog.entries.back().inMissingVolume = true;
    }
    return catalog;
}

}  // namespace marlo::ace
