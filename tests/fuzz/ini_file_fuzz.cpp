// INI files: parsed, queried with names taken from the file, changed and written out again.
#include "platform/IniFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    marlo::IniDocument document = marlo::IniDocument::parse(marlo::fuzz::bytes(data, size));
    const QStringList sections = document.sectionNames();
    for (const QString& section : sections) {
        const QStringList keys = document.keyList(section).split(QChar(0), Qt::SkipEmptyParts);
        for (const QString& key : keys) {
            document.value(section, key, QStringLiteral("-"));
            document.value(section, key, QStringLiteral("-"), 8);
        }
        document.keyList(section, 16);
    }
    const QString first = sections.value(0);
    document.setValue(first, QStringLiteral("Key"), QStringLiteral("v"));
    document.removeKey(first, QStringLiteral("Key"));
    document.setValue(QStringLiteral("New"), QStringLiteral("K"), QStringLiteral("v"));
    document.removeSection(sections.value(1));
    marlo::IniDocument::parse(document.serialize()).sectionNames();
    return 0;
}
