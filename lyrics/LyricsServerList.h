#pragma once

#include <QStringList>

namespace marlo {

// The lyrics server offered in the item editor.
QStringList lyricsServers();

}  // namespace marlo
