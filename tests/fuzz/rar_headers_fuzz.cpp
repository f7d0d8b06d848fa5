// RAR headers: the scan that finds encryption, volumes and member names before libarchive.
#include "platform/archive/RarHeaderScan.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    const QString path =
        marlo::fuzz::writeScratch(QStringLiteral("a.rar"), fuzz::bytes(data, size));
    const RarHeaderScan scan = RarHeaderScan::of(path);
    for (const RarHeaderScan::File& file : scan.files) {
        (void)file.name.size();
    }
    return 0;
}
