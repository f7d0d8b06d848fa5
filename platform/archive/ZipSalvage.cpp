#include "platform/archive/ZipSalvage.h"

#include <archive.h>
#include <archive_entry.h>

#include <QFile>
#include <array>
#include <memory>

#include "platform/TextCodec.h"
#include "platform/archive/Utf8CtypeScope.h"

namespace marlo {

ZipSalvage ZipSalvage::read(const QString& archivePath) {
    ZipSalvage result;
    const Utf8CtypeScope ctype;
    const std::unique_ptr<struct archive, decltype(&archive_read_free)> archive(archive_read_new(),
                                                                                &archive_read_free);
    if (archive == nullptr) {
        return result;
    }
    // The streaming reader never looks for the central directory; it reads the members where
    // their local headers are, and skips bytes that are no header until it finds the next one.
    archive_read_support_format_zip_streamable(archive.get());
    if (archive_read_open_filename(archive.get(), QFile::encodeName(archivePath).constData(),
                                   64 * 1024) != ARCHIVE_OK) {
        return result;
    }
    std::array<char, 64 * 1024> buffer;
    for (;;) {
        struct archive_entry* entry = nullptr;
        const int r = archive_read_next_header(archive.get(), &entry);
        // The end, or a header cut short: nothing after it can be found.
        if (r == ARCHIVE_EOF || r == ARCHIVE_FATAL || entry == nullptr) {
            break;
        }
        const char* rawName = archive_entry_pathname(entry);
        const QString name = rawName != nullptr ? decodeText(QByteArray(rawName)) : QString();
        if (name.isEmpty() || archive_entry_filetype(entry) == AE_IFDIR) {
            continue;
        }
        // A member the reader cannot unpack (an unknown method) is lost; the walk goes on.
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
            result.damaged.append(name);
            continue;
        }
        QByteArray content;
        la_ssize_t n = 0;
        while ((n = archive_read_data(archive.get(), buffer.data(), buffer.size())) > 0) {
            content.append(buffer.data(), n);
        }
        const bool complete = n == 0 && (!archive_entry_size_is_set(entry) ||
                                         archive_entry_size(entry) == content.size());
        // After a member cut short the next header read fails and ends the walk; after a failed
        // check it goes on.
        if (complete) {
            result.whole.append({name, content});
        } else {
            result.damaged.append(name);
        }
    }
    return result;
}

}  // namespace marlo
