// Collection and kind list files: read, searched and a line removed, whatever they hold.
#include "library/CollectionFile.h"
#include "library/KindListFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    const QByteArray content = fuzz::bytes(data, size);
    const QString path = fuzz::writeScratch(QStringLiteral("list.txt"), content);
    const QString scratchPath = fuzz::scratch() + QStringLiteral("list.tmp");

    QStringList titles;
    const CollectionFile collection(path);
    collection.read(titles);
    QStringList names;
    const KindListFile kinds(path);
    kinds.read(names);
    KindListFile::findAutoCollection(names);
    kinds.contains(names.value(0));
    kinds.remove(names.value(names.size() / 2), scratchPath);
    fuzz::writeScratch(QStringLiteral("list.txt"), content);
    collection.remove(titles.value(0), scratchPath);
    return 0;
}
