#include "lyrics/LyricsServerList.h"

namespace marlo {

QStringList lyricsServers() {
    return {QStringLiteral("lrclib.net")};
}

}  // namespace marlo
