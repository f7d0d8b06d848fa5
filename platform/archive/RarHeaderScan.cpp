#include "platform/archive/RarHeaderScan.h"

#include <QByteArray>
#include <QFile>
#include <optional>

namespace marlo {
namespace {

const QByteArray kRar4Signature("Rar!\x1a\x07\x00", 7);
const QByteArray kRar5Signature("Rar!\x1a\x07\x01\x00", 8);

// RAR5 headers are at most 2 MB; anything larger is damage, not a header.
constexpr qint64 kMaxRar5Header = 2 * 1024 * 1024;

// Reads RAR5 variable-length integers and byte runs from a header; a read that would run past
// the end fails instead.
class Cursor {
  public:
    explicit Cursor(const QByteArray& bytes, qsizetype start = 0) : bytes_(bytes), pos_(start) {}

    std::optional<quint64> vint() {
        quint64 value = 0;
        for (int shift = 0; shift < 70; shift += 7) {
            if (pos_ >= bytes_.size()) {
                return std::nullopt;
            }
            const auto byte = static_cast<unsigned char>(bytes_[pos_++]);
            value |= quint64(byte & 0x7f) << shift;
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        return std::nullopt;
    }

    bool skip(quint64 count) {
        if (count > quint64(bytes_.size() - pos_)) {
            return false;
        }
        pos_ += qsizetype(count);
        return true;
    }

    std::optional<QByteArray> take(quint64 count) {
        const qsizetype start = pos_;
        if (!skip(count)) {
            return std::nullopt;
        }
        return bytes_.mid(start, qsizetype(count));
    }

    qsizetype pos() const { return pos_; }

  private:
    const QByteArray& bytes_;
    qsizetype pos_;
};

unsigned le16(const QByteArray& b, qsizetype at) {
    return unsigned(static_cast<unsigned char>(b[at])) |
           unsigned(static_cast<unsigned char>(b[at + 1])) << 8;
}

void scanRar4(QFile& file, RarHeaderScan& scan) {
    // The main header follows the 7-byte marker: CRC (2), type (1), flags (2), size (2).
    file.seek(kRar4Signature.size());
    const QByteArray head = file.read(7);
    if (head.size() < 7 || static_cast<unsigned char>(head[2]) != 0x73) {
        return;
    }
    const unsigned flags = le16(head, 3);
    scan.volume = (flags & 0x0001) != 0;
    scan.headersEncrypted = (flags & 0x0080) != 0;
}

// Looks through the extra area of a RAR5 file header for an encryption record (type 1).
bool hasEncryptionRecord(const QByteArray& header, qsizetype extraStart) {
    qsizetype at = extraStart;
    while (at < header.size()) {
        Cursor c(header, at);
        const auto size = c.vint();
        const qsizetype recordStart = c.pos();
        const auto type = c.vint();
        if (!size || !type) {
            return false;
        }
        if (*type == 0x01) {
            return true;
        }
        if (*size == 0 || *size > quint64(header.size() - recordStart)) {
            return false;
        }
        at = recordStart + qsizetype(*size);
    }
    return false;
}

// Parses the fields of a RAR5 file header after its common part; false when malformed.
bool parseRar5File(Cursor& c, const QByteArray& header, quint64 extraSize, quint64 blockFlags,
                   RarHeaderScan::File& out) {
    const auto fileFlags = c.vint();
    if (!fileFlags || !c.vint() /* unpacked size */ || !c.vint() /* attributes */) {
        return false;
    }
    if ((*fileFlags & 0x0002) && !c.skip(4)) {  // modification time
        return false;
    }
    if ((*fileFlags & 0x0004) && !c.skip(4)) {  // data CRC32
        return false;
    }
    const auto compression = c.vint();
    const auto hostOs = c.vint();
    const auto nameLength = c.vint();
    if (!compression || !hostOs || !nameLength) {
        return false;
    }
    const auto name = c.take(*nameLength);
    if (!name || extraSize > quint64(header.size())) {
        return false;
    }
    out.name = QString::fromUtf8(*name).normalized(QString::NormalizationForm_C);
    out.continuesFromPrevious = (blockFlags & 0x0008) != 0;
    out.continuesInNext = (blockFlags & 0x0010) != 0;
    out.encrypted =
        extraSize > 0 && hasEncryptionRecord(header, header.size() - qsizetype(extraSize));
    return true;
}

void scanRar5(QFile& file, RarHeaderScan& scan) {
    qint64 pos = kRar5Signature.size();
    const qint64 end = file.size();
    while (pos < end) {
        // CRC32 (4), then the header size as a variable-length integer (at most 3 bytes here).
        if (!file.seek(pos + 4)) {
            return;
        }
        const QByteArray sizeBytes = file.read(10);
        Cursor sc(sizeBytes);
        const auto headerSize = sc.vint();
        if (!headerSize || *headerSize == 0 || *headerSize > quint64(kMaxRar5Header)) {
            return;
        }
        const qint64 headerStart = pos + 4 + sc.pos();
        file.seek(headerStart);
        const QByteArray header = file.read(qint64(*headerSize));
        if (header.size() != qsizetype(*headerSize)) {
            return;
        }
        Cursor c(header);
        const auto type = c.vint();
        const auto flags = c.vint();
        if (!type || !flags) {
            return;
        }
        quint64 extraSize = 0;
        quint64 dataSize = 0;
        if (*flags & 0x0001) {
            const auto v = c.vint();
            if (!v) {
                return;
            }
            extraSize = *v;
        }
        if (*flags & 0x0002) {
            const auto v = c.vint();
            if (!v) {
                return;
            }
            dataSize = *v;
        }
        switch (*type) {
            case 1: {  // main archive header
                const auto archiveFlags = c.vint();
                if (!archiveFlags) {
                    return;
                }
                scan.volume = (*archiveFlags & 0x0001) != 0;
                break;
            }
            case 2: {  // file header
                RarHeaderScan::File member;
                if (!parseRar5File(c, header, extraSize, *flags, member)) {
                    return;
                }
                scan.files.append(member);
                break;
            }
            case 4:  // archive encryption header: everything after it is encrypted
                scan.headersEncrypted = true;
                return;
            case 5:  // end of archive
                return;
            default:
                break;
        }
        if (dataSize > quint64(end)) {
            return;
        }
        pos = headerStart + qint64(*headerSize) + qint64(dataSize);
    }
}

}  // namespace

RarHeaderScan RarHeaderScan::of(const QString& path) {
    RarHeaderScan scan;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return scan;
    }
    const QByteArray start = file.read(kRar5Signature.size());
    if (start.startsWith(kRar5Signature)) {
        scan.format = Format::Rar5;
        scanRar5(file, scan);
    } else if (start.startsWith(kRar4Signature)) {
        scan.format = Format::Rar4;
        scanRar4(file, scan);
    }
    return scan;
}

}  // namespace marlo
