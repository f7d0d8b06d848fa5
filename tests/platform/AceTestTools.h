#pragma once

// Shared by the ACE reader tests: fixture paths and checksums, and a writer of small archives
// with correct CRCs.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <optional>

#include "platform/archive/AceReader.h"
#include "tests/support/TestFolders.h"

namespace marlo::acetest {

using test::readFile;
using test::testdata;
using test::writeFile;

inline QString fixture(const QString& name) {
    return testdata(QStringLiteral("archives/ace/") + name);
}

inline QByteArray md5(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

// member name -> md5, from the md5sum-format file beside a fixture.
inline QMap<QString, QByteArray> expectedSums(const QString& archive) {
    QMap<QString, QByteArray> sums;
    const QByteArray text = readFile(fixture(archive + QStringLiteral(".md5")));
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype space = line.indexOf("  ");
        if (space > 0) {
            sums.insert(QString::fromUtf8(line.mid(space + 2)), line.left(space));
        }
    }
    return sums;
}

// Every file below `folder`, relative to it.
inline QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(QDir(folder).relativeFilePath(it.next()));
    }
    return files;
}

// The plain textbook CRC-32 register, kept apart from the reader's table-driven one.
inline quint32 aceCrc(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1u) ? 0xEDB88320u : 0u);
        }
    }
    return crc;
}

inline void putLe(QByteArray& out, quint64 value, int width) {
    for (int i = 0; i < width; ++i) {
        out.append(char((value >> (8 * i)) & 0xFF));
    }
}

// Writes stored ACE archives field by field, the way the format lays them out.
class AceWriter {
  public:
    static constexpr quint16 kMultiVolume = 0x0800;
    static constexpr quint16 kToNext = 0x2000;
    static constexpr quint16 kPassword = 0x4000;

    explicit AceWriter(quint16 mainFlags = 0, int volume = 0) {
        QByteArray body;
        body.append(char(0));  // main header
        putLe(body, mainFlags, 2);
        body.append("**ACE**");
        body.append(char(20));  // version needed
        body.append(char(20));  // made by
        body.append(char(2));   // Win32
        body.append(char(volume));
        putLe(body, 0x5521'7B00u, 4);  // time
        body.append(QByteArray(8, '\0'));
        body.append(char(0));  // no advert
        addHeader(body);
    }

    struct Member {
        Member(QByteArray memberName, QByteArray memberData, quint16 memberFlags = 0)
            : name(std::move(memberName)), data(std::move(memberData)), flags(memberFlags) {}

        QByteArray name;
        QByteArray data;
        quint16 flags = 0;
        quint32 attributes = 0x20;
        quint8 method = 0;
        std::optional<quint32> crc;         // the right one unless set
        std::optional<quint32> packedSize;  // data size unless set
        std::optional<quint32> size;        // unpacked size, data size unless set
    };

    AceWriter& add(const Member& member) {
        QByteArray body;
        body.append(char(1));  // file header
        putLe(body, quint16(member.flags | 0x0001), 2);
        putLe(body, member.packedSize.value_or(quint32(member.data.size())), 4);
        putLe(body, member.size.value_or(quint32(member.data.size())), 4);
        putLe(body, 0x5521'7B00u, 4);
        putLe(body, member.attributes, 4);
        putLe(body, member.crc.value_or(aceCrc(member.data)), 4);
        body.append(char(member.method));
        body.append(char(3));  // quality
        putLe(body, 0x000A, 2);
        putLe(body, 0, 2);
        putLe(body, quint64(member.name.size()), 2);
        body.append(member.name);
        addHeader(body);
        bytes_.append(member.data);
        return *this;
    }
    AceWriter& file(const QByteArray& name, const QByteArray& data) { return add({name, data}); }
    AceWriter& folder(const QByteArray& name) {
        Member member{name, {}};
        member.attributes = 0x10;
        return add(member);
    }

    const QByteArray& bytes() const { return bytes_; }
    QString writeTo(const QString& path) const { return writeFile(path, bytes_); }

  private:
    void addHeader(const QByteArray& body) {
        putLe(bytes_, aceCrc(body) & 0xFFFF, 2);
        putLe(bytes_, quint64(body.size()), 2);
        bytes_.append(body);
    }

    QByteArray bytes_;
};

class AceReaderTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

}  // namespace marlo::acetest
