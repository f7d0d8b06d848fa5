#include <gtest/gtest.h>

#include "lyrics/LrcParse.h"

#include <limits>

namespace marlo {
namespace {

struct Timed {
    qint64 ms;
    QString text;
};

struct LrcCase {
    const char* name;
    QByteArray input;
    QList<Timed> lines = {};  // empty: the input is plain text
    QString plain = {};
    qint64 offset = 0;
};

TEST(LrcParseTest, GoodAndBadInputsGiveTheirLinesAndTimes) {
    const QList<LrcCase> cases{
        {"lines", "[ar:Someone]\n[00:01.00]One\r\n[00:02.50]Two\n", {{1000, "One"}, {2500, "Two"}}},
        {"fractions",
         "[00:01.5]a\n[00:01.123]b\n[01:02:03]c\n[00:03]d",
         {{1123, "b"}, {1500, "a"}, {3000, "d"}, {62030, "c"}}},
        {"repeated and unsorted",
         "[00:20.00]B\n[00:30.00][00:10.00]A",
         {{10000, "A"}, {20000, "B"}, {30000, "A"}}},
        {"offset", "[offset:+500]\n[00:01.00]x", {{1000, "x"}}, {}, 500},
        {"malformed tags time nothing",
         "[99:99.99]bad\n[1:2]bad\n[-1:00]bad\n[00:05.50]ok",
         {{5500, "ok"}}},
        {"only malformed is plain", "[99:99.99]a\n[1:2]b\n", {}, "[99:99.99]a\n[1:2]b"},
        {"no tags", "Just words\n\nand more\n", {}, "Just words\n\nand more"},
        {"latin-1",
         "[00:01.00]Gr\xfc\xdf"
         "e",
         {{1000, QStringLiteral("Grüße")}}},
        {"utf-8 bom", "\xEF\xBB\xBF[00:01.00]x", {{1000, "x"}}},
        {"utf-16 bom",
         QByteArray("\xFF\xFE[\0"
                    "0\0"
                    "0\0"
                    ":\0"
                    "0\0"
                    "1\0"
                    "]\0"
                    "z\0",
                    18),
         {{1000, "z"}}},
        {"unclosed tag", "[00:01.00", {}, "[00:01.00"},
        // Two files joined: the second one's mark stands before a line, which is still timed.
        {"bom inside", "[ti:Song]\n\xEF\xBB\xBF[00:00]i0\n[1:2]x\n", {{0, "i0"}}},
    };
    for (const LrcCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SyncedLyrics got = parseLrc(c.input);
        ASSERT_EQ(got.lines.size(), c.lines.size());
        for (qsizetype i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(got.lines[i].ms, c.lines[i].ms);
            EXPECT_EQ(got.lines[i].text, c.lines[i].text);
        }
        EXPECT_EQ(got.plain, c.plain);
        EXPECT_EQ(got.offsetMs, c.offset);
        // Stored and read again, the lyrics are timed as they were.
        EXPECT_EQ(parseLrc(toLrc(got)).lines.size(), got.lines.size());
    }
}

TEST(LrcParseTest, LitLineAndWordFollowThePosition) {
    SyncedLyrics lyrics = parseLrc(
        "[00:01.00]<00:01.00>Hel <00:01.50>lo<00:02.00>\n[00:03.00]Next\n"
        "[00:05.00]End");
    ASSERT_EQ(lyrics.lines.size(), 3);
    EXPECT_EQ(lyrics.lines[0].text, "Hel lo");
    EXPECT_EQ(lyrics.lines[0].words, (QList<LyricWord>{{1000, 0, 4}, {1500, 4, 2}}));
    struct At {
        qint64 ms;
        int line;
        int word;
    };
    for (const At& at : {At{0, -1, -1}, At{999, -1, -1}, At{1000, 0, 0}, At{1499, 0, 0},
                         At{1500, 0, 1}, At{3000, 1, -1}, At{600000, 2, -1}}) {
        SCOPED_TRACE(at.ms);
        EXPECT_EQ(lyrics.lineAt(at.ms), at.line);
        EXPECT_EQ(lyrics.wordAt(lyrics.lineAt(at.ms), at.ms), at.word);
    }
    lyrics.offsetMs = 200;  // shown 200 ms earlier
    EXPECT_EQ(lyrics.lineAt(2800), 1);
    EXPECT_EQ(lyrics.lineAt(2799), 0);
    // An offset from a file may be anything: positions at the ends of the range stay in it.
    lyrics.offsetMs = std::numeric_limits<qint64>::max() - 100;
    EXPECT_EQ(lyrics.lineAt(std::numeric_limits<qint64>::max()), 2);
    lyrics.offsetMs = -lyrics.offsetMs;
    EXPECT_EQ(lyrics.lineAt(std::numeric_limits<qint64>::min()), -1);
}

TEST(LrcParseTest, FiveMegabytesParseInOnePass) {
    QByteArray big;
    while (big.size() < 5 * 1024 * 1024) {
        big += "[00:01.00][00:02.00]<00:01.00>la <00:01.20>la la la la la la la la la\n";
    }
    const SyncedLyrics lyrics = parseLrc(big);
    EXPECT_EQ(lyrics.lines.size(), 2 * big.count('\n'));
    EXPECT_EQ(lyrics.lineAt(1500), lyrics.lines.size() / 2 - 1);
}

}  // namespace
}  // namespace marlo
