#pragma once

#include <QString>

namespace marlo {

// The title the library proposes for a file or an archive member: the name after its last "/"
// or "\" (archive members name their folders with either), cut before the first ".", then the
// first letter and every letter after a blank in upper case and all others in lower case.
// "my SONG.final.wav" gives "My Song", the member "Album/side a.mp3" gives "Side A". A name
// without any "." is kept whole. The title names the item's record in the store, so it never
// holds a folder.
QString titleFromFileName(const QString& name);

}  // namespace marlo
