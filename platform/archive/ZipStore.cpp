#include "platform/archive/ZipStore.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>

#include "platform/Files.h"
#include "platform/archive/ZipSalvage.h"

namespace marlo {
namespace {

constexpr qsizetype kStoreUncompressedBelow = 4096;

// libzip names the file of a rewrite after the archive plus "." and six mkstemp characters, in
// the archive's folder, and renames it over the archive when it is complete.
bool isLeftoverTemporary(const QString& fileName, const QString& archiveName) {
    static const QRegularExpression suffix(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
    return fileName.startsWith(archiveName) &&
           suffix.match(fileName.mid(archiveName.size())).hasMatch();
}

// The rename of a rewrite is only durable once the file and its folder reached the disk.
void syncToDisk(const QString& filePath) {
    const QByteArray file = QFile::encodeName(filePath);
    if (const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    if (const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

ZipStore::ZipStore(QString archivePath) : path_(std::move(archivePath)) {}

ZipStore::~ZipStore() {
    closeArchive();
}

void ZipStore::closeArchive() {
    if (archive_ != nullptr) {
        zip_discard(archive_);
        archive_ = nullptr;
    }
    index_.clear();
    storedNames_.clear();
}

bool ZipStore::openArchive(int flags) {
    closeArchive();
    int error = 0;
    archive_ = zip_open(QFile::encodeName(path_).constData(), flags, &error);
    if (archive_ == nullptr) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, error);
        unusableReason_ = QString::fromUtf8(zip_error_strerror(&reason));
        zip_error_fini(&reason);
        return false;
    }
    rebuildIndex();
    return true;
}

void ZipStore::rebuildIndex() {
    const zip_int64_t n = zip_get_num_entries(archive_, 0);
    index_.reserve(n);
    storedNames_.reserve(n);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* raw = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (raw == nullptr) {
            continue;
        }
        const QString name = QString::fromUtf8(raw);
        const QString k = key(name);
        if (!index_.contains(k)) {  // of names differing in case only, the first one counts
            index_.insert(k, i);
            storedNames_.insert(k, name);
        }
    }
}

void ZipStore::removeLeftoverTemporaries() const {
    const QFileInfo info(path_);
    QDir folder = info.absoluteDir();
    const QString archiveName = info.fileName();
    const QStringList candidates =
        folder.entryList({archiveName + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : candidates) {
        if (isLeftoverTemporary(name, archiveName)) {
            folder.remove(name);
        }
    }
}

bool ZipStore::moveAside() {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path_ + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n) {
        target =
            path_ + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    }
    if (!QFile::rename(path_, target)) {
        return false;
    }
    movedAsidePath_ = target;
    return true;
}

void ZipStore::salvage() {
    const ZipSalvage found = ZipSalvage::read(movedAsidePath_);
    for (const ZipSalvage::Member& member : found.whole) {
        put(member.name, member.content);
    }
    salvaged_.saved = count();
    for (const QString& name : found.damaged) {
        if (!contains(name)) {  // a whole copy of the same name was found as well
            salvaged_.lost.append(name);
        }
    }
    salvaged_.lost.removeDuplicates();
    // Written at once, so a crash before the next save does not lose them again; should the
    // write fail they stay collected for the next commit.
    commit();
}

ZipStore::OpenState ZipStore::open() {
    movedAsidePath_.clear();
    salvaged_ = {};
    removeLeftoverTemporaries();
    const QFileInfo info(path_);
    if (info.exists() && !info.isFile()) {
        closeArchive();
        unusableReason_ = QString::fromLocal8Bit(std::strerror(EISDIR));
        return state_ = OpenState::Unusable;
    }
    if (info.exists()) {
        // A file we may not read is not known to be damaged: leave it alone and write nothing.
        QFile probe(path_);
        if (!probe.open(QIODevice::ReadOnly)) {
            closeArchive();
            unusableReason_ = probe.errorString();
            return state_ = OpenState::Unusable;
        }
        probe.close();
        if (openArchive(0)) {
            return state_ = OpenState::Ready;
        }
        if (!moveAside()) {
            return state_ = OpenState::Unusable;
        }
        if (!openArchive(ZIP_CREATE)) {
            return state_ = OpenState::Unusable;
        }
        state_ = OpenState::MovedAside;
        salvage();
        return state_;
    }
    if (!openArchive(ZIP_CREATE)) {
        return state_ = OpenState::Unusable;
    }
    return state_ = OpenState::Ready;
}

bool ZipStore::contains(const QString& name) const {
    const QString k = key(name);
    if (const auto it = pending_.constFind(k); it != pending_.constEnd()) {
        return !it->removed;
    }
    return index_.contains(k);
}

bool ZipStore::read(const QString& name, QByteArray& content) const {
    lastReadError_ = 0;
    content.clear();
    const QString k = key(name);
    if (const auto it = pending_.constFind(k); it != pending_.constEnd()) {
        if (it->removed) {
            return false;
        }
        content = it->content;
        return true;
    }
    const auto found = index_.constFind(k);
    if (found == index_.constEnd() || archive_ == nullptr) {
        return false;
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(*found), 0);
    if (file == nullptr) {
        lastReadError_ = zip_error_code_zip(zip_get_error(archive_));
        return false;
    }
    // Read until the end rather than trusting the stored size: the CRC is checked at the end.
    char buffer[16384];
    zip_int64_t got = 0;
    while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
        content.append(buffer, static_cast<qsizetype>(got));
    }
    if (got < 0) {
        lastReadError_ = zip_error_code_zip(zip_file_get_error(file));
        zip_fclose(file);
        content.clear();
        return false;
    }
    zip_fclose(file);
    return true;
}

void ZipStore::put(const QString& name, const QByteArray& content) {
    if (state_ == OpenState::Closed) {
        open();
    }
    pending_.insert(key(name), Pending{name, content, false});
}

void ZipStore::remove(const QString& name) {
    if (state_ == OpenState::Closed) {
        open();
    }
    const QString k = key(name);
    if (index_.contains(k)) {
        pending_.insert(k, Pending{name, {}, true});
    } else {
        pending_.remove(k);  // never written: forgetting it is enough
    }
}

bool ZipStore::commit() {
    if (state_ == OpenState::Closed) {
        open();
    }
    if (state_ == OpenState::Unusable || archive_ == nullptr) {
        noteWriteFailure(path_, unusableReason_);
        return false;
    }
    if (pending_.isEmpty()) {
        return true;
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());

    bool applied = true;
    for (auto it = pending_.cbegin(); it != pending_.cend() && applied; ++it) {
        const Pending& change = it.value();
        const auto stored = index_.constFind(it.key());
        const bool exists = stored != index_.constEnd();
        const auto memberIndex = exists ? static_cast<zip_uint64_t>(*stored) : 0;
        if (change.removed) {
            applied = !exists || zip_delete(archive_, memberIndex) == 0;
            continue;
        }
        // The buffer belongs to pending_, which outlives zip_close below.
        zip_source_t* source =
            zip_source_buffer(archive_, change.content.constData(),
                              static_cast<zip_uint64_t>(change.content.size()), 0);
        if (source == nullptr) {
            applied = false;
            break;
        }
        zip_int64_t written = -1;
        if (exists && storedNames_.value(it.key()) == change.name) {
            written = zip_file_replace(archive_, memberIndex, source, 0) == 0
                          ? static_cast<zip_int64_t>(memberIndex)
                          : -1;
        } else if (!exists || zip_delete(archive_, memberIndex) == 0) {
            const QByteArray utf8 = change.name.toUtf8();
            written = zip_file_add(archive_, utf8.constData(), source, ZIP_FL_ENC_UTF_8);
        }
        if (written < 0) {
            zip_source_free(source);
            applied = false;
            break;
        }
        // Records are a few hundred bytes: deflating them gains little and setting up the
        // compressor for each one costs more than the whole rest of a large rewrite.
        if (change.content.size() < kStoreUncompressedBelow) {
            zip_set_file_compression(archive_, static_cast<zip_uint64_t>(written), ZIP_CM_STORE, 0);
        }
    }

    // zip_close writes the whole archive into a new file beside the old one and renames it over
    // the old one; on failure the old file is untouched.
    const bool written = applied && zip_close(archive_) == 0;
    if (!written) {
        noteWriteFailure(path_, QString::fromUtf8(zip_error_strerror(zip_get_error(archive_))));
    }
    if (written) {
        archive_ = nullptr;  // zip_close freed it
        syncToDisk(path_);
        pending_.clear();
    }
    // Either way, read the index again from what is on disk now.
    if (!openArchive(ZIP_CREATE)) {
        state_ = OpenState::Unusable;
        return false;
    }
    return written;
}

QStringList ZipStore::names() const {
    QStringList out;
    out.reserve(count());
    for (auto it = storedNames_.cbegin(); it != storedNames_.cend(); ++it) {
        if (!pending_.contains(it.key())) {
            out.append(it.value());
        }
    }
    for (const Pending& change : pending_) {
        if (!change.removed) {
            out.append(change.name);
        }
    }
    return out;
}

int ZipStore::count() const {
    qsizetype n = index_.size();
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it) {
        const bool stored = index_.contains(it.key());
        if (it->removed && stored) {
            --n;
        } else if (!it->removed && !stored) {
            ++n;
        }
    }
    return static_cast<int>(n);
}

}  // namespace marlo
