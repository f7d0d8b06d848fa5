// Titles read from files: ID3v1 tails, module headers, file names and whole files.
#include "library/FileTitle.h"
#include "library/TitleReaders.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    const QByteArray content = fuzz::bytes(data, size);
    QString title, artist;
    titleFromTagBytes(content.right(128), title, artist);
    moduleNameFromHeader(content.left(1084));
    titleFromFileName(QString::fromUtf8(content.left(300)));
    titleFromFileName(QString::fromLatin1(content.left(300)));
    ReadMp3Tag(fuzz::writeScratch(QStringLiteral("song.mp3"), content));
    ReadGeneric(fuzz::writeScratch(QStringLiteral("song.mod"), content));
    return 0;
}
