#pragma once

#include <QString>
#include <optional>

#include "cd/TocDrive.h"

namespace marlo {

// Reads the table of contents of a disc: from a CUE sheet (with its BIN beside it) or from a
// CD drive such as /dev/sr0; an empty source means the system's default drive. nullopt with a
// one-line reason in `error` when there is no readable disc.
std::optional<DiscToc> readDiscToc(const QString& source, QString* error);

}  // namespace marlo
