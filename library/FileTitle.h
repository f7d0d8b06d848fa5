#pragma once

#include <QString>

namespace marlo {

// The title the library proposes for a file: the name without its folder (unless
// `keepFolders`, as for archive members, whose folder part stays), cut before the first ".",
// then the first letter and every letter after a blank in upper case and all others in lower
// case. "my SONG.final.wav" gives "My Song". A name without any "." is kept whole.
QString titleFromFileName(const QString& name, bool keepFolders);

}  // namespace marlo
