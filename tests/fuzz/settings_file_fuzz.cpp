// "Set.cfg": any bytes are read or reported damaged; what was read writes out again.
#include "base/SettingsFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    marlo::Settings settings;
    const auto result = marlo::SettingsFile::parse(marlo::fuzz::bytes(data, size), settings);
    const QByteArray again = marlo::SettingsFile::serialize(settings);
    marlo::Settings reread;
    if (!result.damaged && marlo::SettingsFile::parse(again, reread).damaged) {
        __builtin_trap();  // a file read whole must read back whole
    }
    return 0;
}
