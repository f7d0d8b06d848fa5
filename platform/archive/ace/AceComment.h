#pragma once

#include <QByteArray>

namespace marlo::ace {

// Archive and member comments are Huffman coded with a copy code that repeats text found
// after the last place the same two preceding bytes occurred. Throws on damage.
QByteArray unpackComment(const QByteArray& packed);

}  // namespace marlo::ace
