#pragma once

#include <QByteArray>
#include <QDirIterator>
#include <QList>
#include <QProcess>
#include <QSet>
#include <QString>

// Helpers for the archive reader tests: bsdtar as the reference reader, snapshots of a folder
// tree, and zip archives written byte by byte.
namespace marlo::test {

// bsdtar prints names with non-printable bytes as "\ooo" and "\" as "\\".
inline QByteArray unescapeBsdtarName(const QByteArray& line) {
    QByteArray out;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const auto octal = [&line](qsizetype at) { return line[at] >= '0' && line[at] <= '7'; };
        if (line[i] == '\\' && i + 3 < line.size() && line[i + 1] <= '3' && octal(i + 1) &&
            octal(i + 2) && octal(i + 3)) {
            out.append(char(line.mid(i + 1, 3).toInt(nullptr, 8)));
            i += 3;
        } else if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '\\') {
            out.append('\\');
            ++i;
        } else {
            out.append(line[i]);
        }
    }
    return out;
}

struct BsdtarRun {
    int exitCode = -1;
    QByteArray output;        // standard output as it came
    QList<QByteArray> names;  // the output as lines: raw name bytes of a listing
};

inline BsdtarRun runBsdtar(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("bsdtar"), arguments);
    BsdtarRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    for (const QByteArray& line : run.output.split('\n')) {
        if (!line.isEmpty()) {
            run.names.append(unescapeBsdtarName(line));
        }
    }
    return run;
}

// Every file and folder below `root`, hidden ones included, as paths relative to it.
inline QSet<QString> treeOf(const QString& root) {
    QSet<QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        entries.insert(it.next().mid(root.size()));
    }
    return entries;
}

inline quint32 crc32Of(const QByteArray& data) {
    quint32 crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// One member of a stored (uncompressed) zip written byte by byte.
struct ZipMember {
    QByteArray name;
    QByteArray data;
    quint32 unixMode = 0100644;  // 0120777 makes a symbolic link whose data is the target
    bool wrongCrc = false;
};

inline QByteArray storedZip(const QList<ZipMember>& members) {
    const auto le16 = [](QByteArray& out, quint32 v) {
        out.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    };
    const auto le32 = [&le16](QByteArray& out, quint32 v) {
        le16(out, v & 0xffff);
        le16(out, v >> 16);
    };
    QByteArray body;
    QByteArray central;
    for (const ZipMember& m : members) {
        const quint32 crc = crc32Of(m.data) ^ (m.wrongCrc ? 0x5a5a5a5au : 0u);
        const auto offset = quint32(body.size());
        le32(body, 0x04034b50);
        le16(body, 20);      // version needed
        le16(body, 0x0800);  // names are UTF-8
        le16(body, 0);       // stored
        le16(body, 0);       // time
        le16(body, 0x21);    // date 1980-01-01
        le32(body, crc);
        le32(body, quint32(m.data.size()));
        le32(body, quint32(m.data.size()));
        le16(body, quint32(m.name.size()));
        le16(body, 0);
        body.append(m.name).append(m.data);

        le32(central, 0x02014b50);
        le16(central, (3u << 8) | 20u);  // made on Unix, so the mode counts
        le16(central, 20);
        le16(central, 0x0800);
        le16(central, 0);
        le16(central, 0);
        le16(central, 0x21);
        le32(central, crc);
        le32(central, quint32(m.data.size()));
        le32(central, quint32(m.data.size()));
        le16(central, quint32(m.name.size()));
        le16(central, 0);  // extra
        le16(central, 0);  // comment
        le16(central, 0);  // disk
        le16(central, 0);  // internal attributes
        le32(central, m.unixMode << 16);
        le32(central, offset);
        central.append(m.name);
    }
    QByteArray zip = body + central;
    le32(zip, 0x06054b50);
    le16(zip, 0);
    le16(zip, 0);
    le16(zip, quint32(members.size()));
    le16(zip, quint32(members.size()));
    le32(zip, quint32(central.size()));
    le32(zip, quint32(body.size()));
    le16(zip, 0);
    return zip;
}

}  // namespace marlo::test
