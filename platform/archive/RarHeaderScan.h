#pragma once

#include <QList>
#include <QString>

namespace marlo {

// What the block headers of a RAR archive say about encryption and volumes. libarchive reads
// the members but does not report every one of these flags (RAR5 member encryption, members
// that continue into another volume), and without them an encrypted or split member reads as
// damaged or, worse, as a short file without any error.
struct RarHeaderScan {
    enum class Format { None, Rar4, Rar5 };

    // One RAR5 file header, in archive order.
    struct File {
        QString name;  // as stored (UTF-8), NFC-normalised so it compares with libarchive's
        bool encrypted = false;
        bool continuesFromPrevious = false;
        bool continuesInNext = false;
    };

    Format format = Format::None;
    bool headersEncrypted = false;  // nothing can be listed without the password
    bool volume = false;            // one part of a multi-volume set
    QList<File> files;              // RAR5 only

    // Reads the headers of the file at `path`; Format::None when it is no RAR archive (or
    // cannot be read). Stops quietly at the first header that makes no sense.
    static RarHeaderScan of(const QString& path);
};

}  // namespace marlo
