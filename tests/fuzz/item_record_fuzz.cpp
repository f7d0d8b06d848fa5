// Item records of the store and CD records: any member bytes are read without harm.
#include "library/ItemRecord.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    const QByteArray record = fuzz::bytes(data, size);
    for (MediaKind kind : {MediaKind::Audio, MediaKind::Video, MediaKind::Pictures}) {
        const MediaItem item = ItemRecord::read(record, QStringLiteral("Title"), kind);
        ItemRecord::read(ItemRecord::compose(QStringLiteral("Title"), item),
                         QStringLiteral("Title"), kind);
    }
    const CdInfo cd = CdInfoRecord::read(record, QStringLiteral("0a0b0c0d"), 99);
    CdInfoRecord::read(CdInfoRecord::compose(QStringLiteral("0a0b0c0d"), cd.album, cd.tracks),
                       QStringLiteral("0a0b0c0d"), 99);
    return 0;
}
