#include <gtest/gtest.h>

#include <functional>

#include "lyrics/Lyric.h"
#include "lyrics/LyricsServer.h"
#include "lyrics/LyricsText.h"

namespace marlo {
namespace {

using namespace lyricstext;

struct TextCase {
    const char* name;
    std::function<QString(const QString&)> step;
    QString input;
    QString expected;
};

TEST(LyricsTextTest, EachCutStepGivesItsText) {
    const QList<TextCase> cases{
        {"crlf", newlinesToCrLf, "a\nb\r\nc", "a\r\nb\r\r\nc"},
        {"crlf none", newlinesToCrLf, "abc", "abc"},
        {"strip bold", stripTags, "a<b>c</b>d", "acd"},
        {"strip gt only", stripTags, "x > y", "x > y"},
        {"strip gt first", stripTags, "a > b <i>c", "a > b <i>c"},
        {"strip unclosed", stripTags, "a<b>c<d", "ac<d"},
        {"between", [](const QString& s) { return between(s, "Fulltext", "Click"); },
         "xFulltextlyricsClicky", "lyrics"},
        {"between no click after start",
         [](const QString& s) { return between(s, "Fulltext", "Click"); }, "Click Fulltext ab", ""},
        {"between no start", [](const QString& s) { return between(s, "Fulltext", "Click"); },
         "abc Click", ""},
        {"trim", trimBlankLines, " \r\n \r\na b\r\n \r\n ", "a b"},
        {"trim keeps lone cr", trimBlankLines, "\r\r\na\r", "\r\r\na\r"},
        {"drop 5 of 3 lines", [](const QString& s) { return dropLines(s, 5); },
         "one\r\ntwo\r\nthree\r\nrest", "rest"},
        {"drop 2", [](const QString& s) { return dropLines(s, 2); }, "a\r\nb\r\nc\r\nd", "c\r\nd"},
        {"stored plain", storedFormOfPlainLyrics, "\nA\n\nB\r\nC\n\n", "A\r\r\n\r\r\nB\r\r\nC"},
        {"time tags", withoutTimeTags, "[00:01.00] One\n[00:02.50][00:09.00]Two\n[01:00]",
         "One\nTwo\n"},
        {"encode classic", LyricsServer::classicEncoded, "A B&C#D%E?F+G/H",
         "A+B%26C%23D%25E%3FF+G/H"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(c.step(c.input), c.expected) << c.name;
    }
}

TEST(LyricsTextTest, EveryTransferStateHasItsText) {
    const QStringList expected{
        "No state to report.", "Looking up address",      QStringLiteral("IP\u00a0address found"),
        "Connecting",          "Connection successful",   "Sending request",
        "Request Sent",        "Receiving response",      "Received response",
        "Disconnecting",       "Disconnected successful", "Communications error",
        "Request completed"};
    for (int state = 0; state < expected.size(); ++state) {
        EXPECT_EQ(Lyric::stateText(state), expected[state]) << state;
    }
    EXPECT_EQ(Lyric::stateText(13), "");
    EXPECT_EQ(Lyric::stateText(-1), "");
}

TEST(LyricsTextTest, TheServerEntryDecidesTheProtocol) {
    struct Case {
        QString entry;
        LyricsServer::Kind kind;
        bool valid;
        QString searchUrl;
    };
    using K = LyricsServer::Kind;
    const QList<Case> cases{
        {"lrclib.net", K::Lrclib, true,
         "https://lrclib.net/api/search?track_name=S%20s&artist_name=A&album_name=B%26b"},
        {" LRCLIB.net ", K::Lrclib, true,
         "https://lrclib.net/api/search?track_name=S%20s&artist_name=A&album_name=B%26b"},
        {"http://127.0.0.1:8080/", K::Lrclib, true,
         "http://127.0.0.1:8080/api/search?track_name=S%20s&artist_name=A&album_name=B%26b"},
        {"https://lyrics.example.org/mirror", K::Lrclib, true,
         "https://lyrics.example.org/mirror/api/search?track_name=S%20s&artist_name=A&album_name="
         "B%26b"},
        {"ftp://example.org", K::Lrclib, false, ""},
        {"lyrics.example.org", K::Classic, true,
         "http://lyrics.example.org/query/normal?artist=A&album=B&b&song=S s"},
        {"10.0.0.2:81", K::Classic, true,
         "http://10.0.0.2:81/query/normal?artist=A&album=B&b&song=S s"},
        {"", K::Classic, false, ""},
    };
    for (const Case& c : cases) {
        const LyricsServer server(c.entry);
        EXPECT_EQ(server.kind(), c.kind) << c.entry.toStdString();
        EXPECT_EQ(server.valid(), c.valid) << c.entry.toStdString();
        if (!c.valid) {
            continue;
        }
        // The classic builder takes values already encoded; raw ones show what it adds.
        EXPECT_EQ(c.kind == K::Lrclib ? server.lrclibSearchUrl("A", "B&b", "S s")
                                      : server.classicSearchUrl("A", "B&b", "S s"),
                  c.searchUrl)
            << c.entry.toStdString();
    }
}

}  // namespace
}  // namespace marlo
