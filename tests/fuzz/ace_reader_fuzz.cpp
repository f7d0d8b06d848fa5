// ACE archives: listed, every member read, the first extracted; nothing lands outside the folder.
#include <QDirIterator>

#include "platform/archive/AceReader.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    const QString path = fuzz::writeScratch(QStringLiteral("a.ace"), fuzz::bytes(data, size));
    const ArchiveListing listing = AceReader::list(path);
    for (const ArchiveMember& member : listing.members) {
        QByteArray content;
        AceReader::read(path, member.name, content);
    }
    if (!listing.members.isEmpty()) {
        const QString folder = fuzz::scratch() + QStringLiteral("out/");
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        AceReader::extract(path, listing.members.first().name, folder);
        // Only the archive and the extraction folder may exist in the scratch folder.
        QDirIterator it(fuzz::scratch(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        while (it.hasNext()) {
            const QString name = QFileInfo(it.next()).fileName();
            if (name != QStringLiteral("a.ace") && name != QStringLiteral("out")) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
