#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include "base/SettingsFile.h"

namespace marlo {
namespace {

// A well-formed file; tests change single lines of it.
QStringList goodLines() {
    return {"0",
            "1",
            "-1",
            "6",
            "0",
            "150",
            "4320",
            "2880",
            "0|2",
            "12",
            "1",
            "0",
            "1",
            "0",
            "0",
            "1",
            "/music/",
            "/pics/",
            "/video/",
            "5",
            "100",
            "Standard",
            "me@example.org",
            "True"};
}

QByteArray fileOf(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines) {
        out += l.toUtf8() + "\r\n";
    }
    return out;
}

TEST(SettingsFile, WritesTheKnownBytes) {
    Settings s;
    s.setOption(option::kStreamingOnly, 1);
    s.setOption(option::kVideoFullscreen, 1);
    s.setOption(option::kVideoDoubleSize, 1);  // the first one set wins
    s.setOption(option::kRepeatOne, 1);
    s.setOption(option::kFilterAuto, 1);
    s.setOption(option::kAutoplay, 1);
    s.setOption(option::kPositionBar, 1);
    s.videoZoom = 150;
    s.windowLeft = 4320;
    s.windowTop = 2887.5F;
    s.listKind = 1;  // CD list: always 1|0
    s.collectionNumber = 3;
    s.lastFolderAudio = QStringLiteral("/home/me/Musik");
    s.lastFolderPictures = QStringLiteral("/home/me/Bilder");
    s.lastFolderVideo = QString();
    s.slideshowPause = 5;
    s.pictureZoom = 100;
    s.skinName = QStringLiteral("Vantel's Design");
    s.email = QStringLiteral("jürgen@example.org");
    s.language = UiLanguage::English;
    const QByteArray expected =
        "0\r\n1\r\n2\r\n7\r\n0\r\n150\r\n4320\r\n2887.5\r\n1|0\r\n12\r\n1\r\n0\r\n1\r\n0\r\n"
        "0\r\n0\r\n/home/me/Musik\r\n/home/me/Bilder\r\n\r\n5\r\n100\r\nVantel's Design\r\n"
        "j\xc3\xbcrgen@example.org\r\nTrue\r\n";
    EXPECT_EQ(SettingsFile::serialize(s), expected);

    s.listKind = 0;
    s.setOption(option::kFilterAuto, 0);
    const QByteArray bytes = SettingsFile::serialize(s);
    EXPECT_TRUE(bytes.contains("\r\n0|3\r\n13\r\n")) << bytes.constData();
}

TEST(SettingsFile, RoundTripsManyGeneratedSettings) {
    QRandomGenerator rng(20261208);
    auto pick = [&](int lo, int hi) { return static_cast<int16_t>(rng.bounded(lo, hi + 1)); };
    auto text = [&]() {
        const QString alphabet = QStringLiteral("abcXYZ äöüß/\\:.-_'\"|=[];");
        QString t;
        for (int i = pick(0, 20); i > 0; --i) {
            t += alphabet[rng.bounded(static_cast<int>(alphabet.size()))];
        }
        return t.trimmed().isEmpty() ? QString() : t;
    };
    for (int round = 0; round < 500; ++round) {
        Settings s;
        s.setOption(option::kModulesThroughDevice, pick(0, 1));
        s.setOption(option::kStreamingOnly, pick(0, 1));
        // At most one option of each group, as the dialog allows.
        if (int v = pick(1, 4); v > 1) {
            s.setOption(v, 1);
        }
        if (int v = pick(5, 7); v > 5) {
            s.setOption(v, 1);
        }
        s.setOption(option::kAspectRatio, pick(0, 1));
        s.setOption(pick(option::kFilterNone, option::kFilterAuto), 1);
        for (int opt = option::kAutoplay; opt <= option::kPictureZoom; ++opt) {
            s.setOption(opt, pick(0, 1));
        }
        s.videoZoom = pick(-32768, 32767);
        s.windowLeft = static_cast<float>(pick(-2000, 30000));
        s.windowTop = static_cast<float>(pick(-2000, 30000)) + 0.5F;
        s.listKind = pick(0, 3);
        s.collectionNumber = s.listKind == 1 ? 0 : pick(-1, 500);
        s.lastFolderAudio = text();
        s.lastFolderPictures = text();
        s.lastFolderVideo = text();
        s.slideshowPause = pick(0, 3600);
        s.pictureZoom = pick(1, 1000);
        s.skinName = text();
        s.email = text();
        s.language = pick(0, 1) ? UiLanguage::English : UiLanguage::German;

        Settings back;
        const auto result = SettingsFile::parse(SettingsFile::serialize(s), back);
        ASSERT_FALSE(result.damaged) << "round " << round << " line " << result.damagedLine;
        ASSERT_EQ(back, s) << "round " << round;
        EXPECT_EQ(result.zoomFieldEnabled, s.isSet(option::kVideoUserZoom));
    }
}

TEST(SettingsFile, DamageRules) {
    struct Case {
        const char* what;
        int line;  // 1-based line to change; 0 to drop the last line
        const char* value;
        bool damaged;
    };
    const Case cases[] = {
        {"23 lines", 0, nullptr, true},
        {"line 3 of 19", 3, "19", true},
        {"line 3 of 0", 3, "0", true},
        {"line 4 of 20", 4, "20", true},
        {"line 9 without bar", 9, "02", true},
        {"line 9 kind outside the four", 9, "7|0", true},
        {"line 1 of 3", 1, "3", true},
        {"line 1 of -1", 1, "-1", true},
        {"line 13 of 5", 13, "5", true},
        {"too large for a small integer", 6, "40000", true},
        {"too small for a small integer", 20, "-32769", true},
        {"line 10 of 0", 10, "0", true},
        {"line 10 of 19", 10, "19", true},
        {"line 24 not a boolean", 24, "Yes", true},
        {"line 24 empty", 24, "", true},
        {"line 3 = 4", 3, "4", false},
        {"line 10 = 13", 10, "13", false},
        {"line 1 of 2 kept", 1, "2", false},
        {"blanks around a number", 6, "  120  ", false},
        {"leading numeric part", 20, "7 seconds", false},
        {"no number reads as 0", 21, "abc", false},
        {"line 24 as a number", 24, "-1", false},
        {"line 24 lower case", 24, "false", false},
        {"line 9 with blanks", 9, " 2 | 5 ", false},
    };
    for (const Case& c : cases) {
        QStringList lines = goodLines();
        if (c.line == 0) {
            lines.removeLast();
        } else {
            lines[c.line - 1] = QString::fromUtf8(c.value);
        }
        Settings s;
        const auto result = SettingsFile::parse(fileOf(lines), s);
        EXPECT_EQ(result.damaged, c.damaged) << c.what;
        if (c.damaged) {
            // The language line comes last, so no damage lets it be read.
            EXPECT_FALSE(result.languageRead) << c.what;
        }
    }
}

TEST(SettingsFile, ValuesOfSpecialLines) {
    auto read = [](int line, const char* value) {
        QStringList lines = goodLines();
        lines[line - 1] = QString::fromUtf8(value);
        Settings s;
        const auto result = SettingsFile::parse(fileOf(lines), s);
        EXPECT_FALSE(result.damaged);
        return std::make_pair(s, result);
    };
    auto [zoom, zoomResult] = read(3, "4");
    EXPECT_EQ(zoom.option(option::kVideoUserZoom), 1);
    EXPECT_TRUE(zoomResult.zoomFieldEnabled);

    // Line 10 sets option 13, then line 11 sets it again.
    auto [autoplayOff, r1] = read(10, "13");
    EXPECT_EQ(autoplayOff.option(option::kAutoplay), 1);  // line 11 of goodLines() is 1
    QStringList lines = goodLines();
    lines[9] = "13";
    lines[10] = "0";
    Settings s;
    SettingsFile::parse(fileOf(lines), s);
    EXPECT_EQ(s.option(option::kAutoplay), 0);

    auto [two, r2] = read(11, "2");
    EXPECT_EQ(two.option(option::kAutoplay), 2);
    auto [english, r3] = read(24, "-1");
    EXPECT_EQ(english.language, UiLanguage::English);
    auto [german, r4] = read(24, "False");
    EXPECT_EQ(german.language, UiLanguage::German);
    auto [kind, r5] = read(9, "3|12");
    EXPECT_EQ(kind.listKind, 3);
    EXPECT_EQ(kind.collectionNumber, 12);
    auto [text, r6] = read(22, "  My Skin  ");
    EXPECT_EQ(text.skinName, QStringLiteral("  My Skin  "));
}

TEST(SettingsFile, ValuesBeforeTheDamageStay) {
    QStringList lines = goodLines();
    lines[9] = "99";  // line 10
    Settings s;
    const auto result = SettingsFile::parse(fileOf(lines), s);
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(result.damagedLine, 10);
    EXPECT_EQ(s.option(option::kStreamingOnly), 1);
    EXPECT_EQ(s.videoZoom, 150);
    EXPECT_EQ(s.collectionNumber, 2);
    EXPECT_EQ(s.skinName, QString());  // never reached
}

TEST(SettingsFile, AnyBytesGiveAResult) {
    QRandomGenerator rng(7);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(static_cast<int>(rng.bounded(400)), '\0');
        for (char& c : bytes) {
            // Mostly digits and line ends, so that parsing gets deep into the file.
            const int k = static_cast<int>(rng.bounded(10));
            c = k < 5   ? static_cast<char>('0' + rng.bounded(10))
                : k < 8 ? '\n'
                : k < 9 ? '|'
                        : static_cast<char>(rng.bounded(256));
        }
        Settings s;
        const auto result = SettingsFile::parse(bytes, s);
        if (!result.damaged) {
            Settings again;
            EXPECT_FALSE(SettingsFile::parse(SettingsFile::serialize(s), again).damaged);
        }
    }
}

}  // namespace
}  // namespace marlo
