#include "platform/archive/ace/AceComment.h"

#include <vector>

#include "platform/archive/ace/AceBitReader.h"
#include "platform/archive/ace/AceFailure.h"
#include "platform/archive/ace/AceHuffman.h"

namespace marlo::ace {

QByteArray unpackComment(const QByteArray& packed) {
    BitReader bits(packed);
    const qsizetype size = qsizetype(bits.read(15));
    HuffmanTable code;
    code.read(bits, 11, 284);
    std::vector<qsizetype> lastSeen(511, 0);
    QByteArray text;
    text.reserve(size + 64);
    while (text.size() < size) {
        qsizetype source = 0;
        if (text.size() > 1) {
            const int key = quint8(text[text.size() - 1]) + quint8(text[text.size() - 2]);
            source = lastSeen[size_t(key)];
            lastSeen[size_t(key)] = text.size();
        }
        const int symbol = code.decode(bits);
        if (symbol < 256) {
            text.append(char(symbol));
        } else {
            for (int i = 0; i < symbol - 256 + 2; ++i) {
                require(source + i < text.size());
                text.append(text[source + i]);
            }
        }
    }
    text.truncate(size);
    return text;
}

}  // namespace marlo::ace
