#pragma once

#include <QStringList>

namespace marlo {

// The lyrics server offered in the item editor.
inline QStringList lyricsServers() {
    return {QStringLiteral("lrclib.net")};
}

}  // namespace marlo
