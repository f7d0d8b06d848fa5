#include "platform/archive/LibArchiveReader.h"

#include <archive.h>
#include <archive_entry.h>

#include <QFile>
#include <QFileInfo>
#include <array>
#include <functional>

#include "platform/archive/MemberFileWriter.h"
#include "platform/archive/MemberPath.h"
#include "platform/archive/RarHeaderScan.h"
#include "platform/archive/Utf8CtypeScope.h"

namespace marlo {
namespace {

struct Entry {
    ArchiveMember member;
    bool link = false;         // symbolic or hard link: no content of its own
    bool split = false;        // continues from or into another volume
    qint64 declaredSize = -1;  // -1 when the archive does not say
};

using Sink = std::function<bool(const char*, qint64)>;

// One pass over one archive with libarchive.
class Session {
  public:
    enum class Step { Entry, End, Failed };

    Session() = default;
    ~Session() {
        if (archive_ != nullptr) {
            archive_read_free(archive_);
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ArchiveStatus open(const QString& path);
    Step next(Entry& entry);
    // The first member named exactly `name`.
    ArchiveStatus find(const QString& name, Entry& entry);
    // Passes the current member's content to `sink`; `sinkFailure` is the status when the sink
    // refuses more.
    ArchiveStatus copyData(const Entry& entry, const Sink& sink, ArchiveStatus sinkFailure);
    ArchiveStatus failure() const { return failure_; }

  private:
    void applyRarFlags(Entry& entry);
    ArchiveStatus dataFailure(const Entry& entry) const;

    Utf8CtypeScope ctype_;  // declared first: covers the whole life of the handle
    struct archive* archive_ = nullptr;
    RarHeaderScan rar_;
    qsizetype rarCursor_ = 0;
    ArchiveStatus failure_ = ArchiveStatus::Ok;
};

ArchiveStatus Session::open(const QString& path) {
    const QFileInfo info(path);
    QFile probe(path);
    if (!info.isFile() || !probe.open(QIODevice::ReadOnly)) {
        return ArchiveStatus::CannotOpen;
    }
    probe.close();
    rar_ = RarHeaderScan::of(path);
    archive_ = archive_read_new();
    if (archive_ == nullptr) {
        return ArchiveStatus::CannotOpen;
    }
    // A file that starts like a RAR archive is read as one: a zip stored inside it would
    // otherwise win the format detection through its central directory at the end.
    if (rar_.format == RarHeaderScan::Format::None) {
        archive_read_support_format_zip(archive_);
    }
    archive_read_support_format_rar(archive_);
    archive_read_support_format_rar5(archive_);
    if (archive_read_open_filename(archive_, QFile::encodeName(path).constData(), 64 * 1024) !=
        ARCHIVE_OK) {
        return rar_.headersEncrypted ? ArchiveStatus::Encrypted : ArchiveStatus::NotAnArchive;
    }
    return ArchiveStatus::Ok;
}

Session::Step Session::next(Entry& entry) {
    for (;;) {
        struct archive_entry* e = nullptr;
        const int r = archive_read_next_header(archive_, &e);
        if (r == ARCHIVE_EOF) {
            return Step::End;
        }
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
            failure_ = rar_.headersEncrypted ? ArchiveStatus::Encrypted : ArchiveStatus::Damaged;
            return Step::Failed;
        }
        QByteArray raw;
        if (const char* name = archive_entry_pathname(e)) {
            raw = name;
        } else if (const char* utf8 = archive_entry_pathname_utf8(e)) {
            raw = utf8;
        }
        if (raw.isEmpty()) {
            continue;  // a member without any readable name cannot be asked for by name
        }
        entry = Entry{};
        entry.member.name = memberNameFromBytes(raw);
        const auto type = archive_entry_filetype(e);
        entry.member.isFolder = type == AE_IFDIR;
        entry.link = type == AE_IFLNK || archive_entry_hardlink(e) != nullptr ||
                     archive_entry_symlink(e) != nullptr;
        entry.member.encrypted = archive_entry_is_encrypted(e) != 0;
        if (archive_entry_size_is_set(e)) {
            entry.declaredSize = archive_entry_size(e);
            entry.member.size = qMax<qint64>(0, entry.declaredSize);
        }
        applyRarFlags(entry);
        return Step::Entry;
    }
}

// libarchive reports neither RAR5 member encryption nor members split across volumes, so the
// header scan's record of the same name (the next one in archive order) supplies them.
void Session::applyRarFlags(Entry& entry) {
    if (rar_.format != RarHeaderScan::Format::Rar5) {
        return;
    }
    const QString name = entry.member.name.normalized(QString::NormalizationForm_C);
    for (qsizetype i = rarCursor_; i < rar_.files.size(); ++i) {
        const RarHeaderScan::File& file = rar_.files[i];
        if (QString(file.name).replace(QLatin1Char('\\'), QLatin1Char('/')) == name) {
            entry.member.encrypted = entry.member.encrypted || file.encrypted;
            entry.split = file.continuesFromPrevious || file.continuesInNext;
            rarCursor_ = i + 1;
            return;
        }
    }
}

ArchiveStatus Session::find(const QString& name, Entry& entry) {
    for (;;) {
        switch (next(entry)) {
            case Step::End:
                return ArchiveStatus::MemberNotFound;
            case Step::Failed:
                return failure_;
            case Step::Entry:
                if (entry.member.name == name) {
                    return ArchiveStatus::Ok;
                }
                break;
        }
    }
}

ArchiveStatus Session::dataFailure(const Entry& entry) const {
    if (entry.member.encrypted) {
        return ArchiveStatus::Encrypted;
    }
    // A RAR4 volume does not mark its split members in a way libarchive passes on; in a volume
    // a member that cannot be read whole is taken to continue in another part.
    if (entry.split || rar_.volume) {
        return ArchiveStatus::MultiVolume;
    }
    return ArchiveStatus::Damaged;
}

ArchiveStatus Session::copyData(const Entry& entry, const Sink& sink, ArchiveStatus sinkFailure) {
    if (entry.member.isFolder) {
        return ArchiveStatus::Ok;
    }
    std::array<char, 64 * 1024> buffer;
    qint64 total = 0;
    for (;;) {
        const la_ssize_t n = archive_read_data(archive_, buffer.data(), buffer.size());
        if (n == 0) {
            break;
        }
        if (n < 0) {
            return dataFailure(entry);
        }
        total += n;
        if (!sink(buffer.data(), n)) {
            return sinkFailure;
        }
    }
    // A member cut short (a volume that ends early, a lying header) is no success.
    if (entry.declaredSize >= 0 && total != entry.declaredSize) {
        return dataFailure(entry);
    }
    return ArchiveStatus::Ok;
}

// Checks shared by read and extract before any data is touched.
ArchiveStatus readableStatus(const Entry& entry) {
    if (entry.link) {
        return ArchiveStatus::UnsafeName;
    }
    if (entry.member.encrypted) {
        return ArchiveStatus::Encrypted;
    }
    if (entry.split) {
        return ArchiveStatus::MultiVolume;
    }
    return ArchiveStatus::Ok;
}

}  // namespace

ArchiveListing LibArchiveReader::list(const QString& archivePath) {
    ArchiveListing listing;
    Session session;
    listing.status = session.open(archivePath);
    if (listing.status != ArchiveStatus::Ok) {
        return listing;
    }
    Entry entry;
    for (;;) {
        const Session::Step step = session.next(entry);
        if (step == Session::Step::End) {
            break;
        }
        if (step == Session::Step::Failed) {
            listing.status = session.failure();
            break;
        }
        listing.members.append(entry.member);
    }
    return listing;
}

ArchiveStatus LibArchiveReader::read(const QString& archivePath, const QString& memberName,
                                     QByteArray& content) {
    content.clear();
    Session session;
    ArchiveStatus status = session.open(archivePath);
    Entry entry;
    if (status == ArchiveStatus::Ok) {
        status = session.find(memberName, entry);
    }
    if (status == ArchiveStatus::Ok) {
        status = readableStatus(entry);
    }
    if (status != ArchiveStatus::Ok) {
        return status;
    }
    if (entry.declaredSize > kMaxInMemory) {
        return ArchiveStatus::Unsupported;
    }
    QByteArray data;
    if (entry.declaredSize > 0) {
        data.reserve(entry.declaredSize);
    }
    status = session.copyData(
        entry,
        [&data](const char* bytes, qint64 size) {
            if (data.size() + size > kMaxInMemory) {
                return false;
            }
            data.append(bytes, size);
            return true;
        },
        ArchiveStatus::Unsupported);
    if (status == ArchiveStatus::Ok) {
        content = data;
    }
    return status;
}

ExtractResult LibArchiveReader::extract(const QString& archivePath, const QString& memberName,
                                        const QString& folder) {
    Session session;
    ArchiveStatus status = session.open(archivePath);
    Entry entry;
    if (status == ArchiveStatus::Ok) {
        status = session.find(memberName, entry);
    }
    if (status == ArchiveStatus::Ok && !isSafeMemberName(entry.member.name)) {
        status = ArchiveStatus::UnsafeName;
    }
    if (status == ArchiveStatus::Ok) {
        status = readableStatus(entry);
    }
    if (status != ArchiveStatus::Ok) {
        return {status, {}};
    }
    MemberFileWriter writer;
    status = writer.begin(folder, entry.member.name, entry.member.isFolder);
    if (status == ArchiveStatus::Ok) {
        status = session.copyData(
            entry, [&writer](const char* bytes, qint64 size) { return writer.write(bytes, size); },
            ArchiveStatus::WriteFailed);
    }
    if (status == ArchiveStatus::Ok) {
        status = writer.commit();
    }
    if (status != ArchiveStatus::Ok) {
        return {status, {}};
    }
    return {ArchiveStatus::Ok, writer.targetPath()};
}

}  // namespace marlo
