#pragma once

#include <QStringList>

namespace marlo {

// The MIME types of the files Marlo takes as items, sorted: what its desktop entry and its media
// player interface announce. Read from the library's accepted endings, so the two never differ.
QStringList acceptedMimeTypes();

}  // namespace marlo
