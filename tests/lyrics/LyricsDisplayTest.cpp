#include <gtest/gtest.h>

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "FakeLyricsServer.h"
#include "base/Catalogue.h"
#include "lyrics/DisplayLyrics.h"
#include "lyrics/LyricsDisplay.h"
#include "lyrics/SongSelect.h"
#include "tests/support/ScriptedPrompts.h"

namespace marlo {
namespace {

TEST(LyricsDisplayTest, LineRuleUndoesDoubledLineEnds) {
    const QList<std::pair<QByteArray, QString>> cases{
        {"A\r\n\r\nB\r\n\r\nC\r\n\r\n", "A\r\nB\r\nC\r\n\r\n"},
        {"A\r\n\r\n\r\nB", "A\r\n\r\nB\r\n"},
        // The stored form of a fetch: CR CR LF line ends, a blank line between verses.
        {"One\r\r\nTwo\r\r\n\r\r\nThree", "One\r\nTwo\r\n\r\nThree\r\n"},
        {"", ""},
        {"Grüße\r\r\n", "Grüße\r\n\r\n"},
    };
    for (const auto& [file, text] : cases) {
        EXPECT_EQ(LyricsDisplay::windowText(file), text) << file.toStdString();
    }
}

class FakeSource : public CdLyricsSource {
  public:
    QString selectedPlaylistLine() override { return line; }
    QString lastDiscId() override { return "1302f603"; }
    QString albumOf(const QString& disc) override { return disc == "1302f603" ? album : ""; }
    std::optional<QByteArray> lyricsOf(const QString& disc, int track) override {
        asked = disc + "." + QString::number(track);
        return lyrics;
    }

    QString line = "03  Third Song";
    QString album = "First Album";
    std::optional<QByteArray> lyrics = QByteArray("Verse\r\r\nEnd");
    QString asked;
};

TEST(LyricsDisplayTest, ShowLyricsShowsTheTrackOrSaysWhatIsMissing) {
    Catalogue::setLanguage(UiLanguage::English);
    struct Case {
        const char* name;
        QString album;
        std::optional<QByteArray> lyrics;
        bool shown;
        bool message;
    };
    const QList<Case> cases{
        {"found", "First Album", QByteArray("Verse\r\r\nEnd"), true, false},
        {"no album", "", QByteArray("Verse\r\r\n"), false, true},
        {"empty lyrics", "First Album", QByteArray(), false, true},
        {"no member", "First Album", std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        FakeSource source;
        source.album = c.album;
        source.lyrics = c.lyrics;
        test::ScriptedPrompts prompts;
        LyricsDisplay display(source, prompts);
        display.showLyrics();
        EXPECT_EQ(display.window().isVisible(), c.shown) << c.name;
        EXPECT_EQ(display.windowWanted(), c.shown) << c.name;
        EXPECT_EQ(prompts.messageTexts().size(), c.message ? 1 : 0) << c.name;
        if (c.message) {
            EXPECT_EQ(prompts.messageTitles().value(0), "No Lyrics or Album entry") << c.name;
        }
        if (c.shown) {
            EXPECT_EQ(source.asked, "1302f603.3");
            EXPECT_EQ(display.window().windowTitle(), "Lyrics Displayer - Third Song");
            EXPECT_EQ(display.window().text()->toPlainText(), "Verse\nEnd\n");
            // Closing it other than by its close box leaves the flag alone.
            display.window().close();
            EXPECT_TRUE(display.windowWanted());
            display.hideLyrics();
            EXPECT_FALSE(display.windowWanted());
        }
    }
}

TEST(LyricsDisplayTest, ChooserTakesTheSelectedLineHoweverItCloses) {
    const QList<LyricsHit> hits{{"A / One / X", "1"}, {"A / Two / X", "2"}, {"A / Three / X", "3"}};
    struct Case {
        const char* name;
        int row;  // -1: leave the first line selected
        std::function<void(SongSelect&)> finish;
        int expected;
    };
    const QList<Case> cases{
        {"button", 2, [](SongSelect& s) { s.selectButton()->click(); }, 2},
        {"double click", 1,
         [](SongSelect& s) { emit s.songs()->itemDoubleClicked(s.songs()->currentItem()); }, 1},
        {"close box untouched", -1, [](SongSelect& s) { s.close(); }, 0},
        {"close box moved", 2, [](SongSelect& s) { s.close(); }, 2},
        {"escape", 1, [](SongSelect& s) { s.reject(); }, 1},
    };
    for (const Case& c : cases) {
        SongSelect select;
        QStringList listed;
        QTimer::singleShot(0, [&] {
            for (int i = 0; i < select.songs()->count(); ++i) {
                listed.append(select.songs()->item(i)->text());
            }
            if (c.row >= 0) {
                select.songs()->setCurrentRow(c.row);
            }
            c.finish(select);
        });
        EXPECT_EQ(select.chooseSong(hits), c.expected) << c.name;
        EXPECT_EQ(listed, QStringList({"A / One / X", "A / Two / X", "A / Three / X"})) << c.name;
        EXPECT_EQ(select.objectName(), "frmSelect");
    }
}

}  // namespace
}  // namespace marlo
