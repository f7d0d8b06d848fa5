// Lyrics pages: the hit list and the cutting of the song text out of the page.
#include "lyrics/Lyric.h"
#include "lyrics/LyricsText.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    using namespace marlo::lyricstext;
    fuzz::ensureApplication();
    static Lyric lyric;
    const QString page = QString::fromUtf8(fuzz::bytes(data, size));
    lyric.parseHits(page);
    QString text = stripTags(newlinesToCrLf(page));
    text = between(text, QStringLiteral("Fulltext"), QStringLiteral("Click"));
    dropLines(trimBlankLines(text), 5);
    between(page, page.left(2), page.right(2));
    storedFormOfPlainLyrics(withoutTimeTags(page));
    return 0;
}
