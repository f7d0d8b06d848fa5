#include <gtest/gtest.h>

#include <QStringList>

#include "base/Catalogue.h"
#include "base/Settings.h"
#include "cd/CdBase.h"
#include "cd/TocDrive.h"
#include "library/ItemEditor.h"
#include "library/LibrarySession.h"
#include "lyrics/Lyric.h"
#include "platform/archive/ZipStore.h"
#include "tests/cd/CddbTestServer.h"
#include "tests/lyrics/FakeLyricsServer.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo::test {
namespace {

// The item editor in CD mode over a three-track disc, with a loopback CD database that knows
// the disc and a loopback lyrics server.
class ItemEditorCdTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Catalogue::setLanguage(UiLanguage::English);
        folder.makeData();
        session.chooser.setKind(MediaKind::CdAudio);
        ASSERT_TRUE(cddb.listen());
        cddb.addEntry("rock", "1302f603",
                      "DISCID=1302f603\nDTITLE=The Testers / First Album\n"
                      "TTITLE0=Hells Bells\nTTITLE1=\nTTITLE2=What Do You Do\n");
        editor.cdBase().setDrive(&drive);
        editor.lyric().setTimeoutMs(5000);
        editor.setSettings(&settings);
        QObject::connect(&editor, &ItemEditor::logged,
                         [this](const QString& text) { log += text; });
    }
    void TearDown() override { Catalogue::setLanguage(UiLanguage::German); }
    QString cddbEntry() const { return QStringLiteral("127.0.0.1 %1").arg(cddb.port()); }
    QByteArray member(const QString& name) const {
        return storedMember(folder.data() + "Marlo.zip", name);
    }

    TempProgramFolder folder;
    ScriptedPrompts prompts;
    Settings settings;
    LibrarySession session{folder.data(), prompts};
    CddbTestServer cddb;
    FakeLyricsServer lyrics;
    TocDrive drive{{{150, 22660, 42790}, 57061}};
    ItemEditor editor{session};
    QString log;
};

TEST_F(ItemEditorCdTest, LookupStoresTheRecordAndLyricsOfEveryTrackRetryingWithoutThe) {
    ASSERT_TRUE(editor.beginCd());
    EXPECT_EQ(editor.cd.trackCount, 3);
    EXPECT_EQ(editor.fields.title, "Track 1");

    prompts.inputs = {"joe@example.org"};
    ASSERT_TRUE(editor.lookup(cddbEntry()));
    EXPECT_EQ(settings.email, "joe@example.org");  // asked once, remembered
    EXPECT_EQ(cddb.received.value(0).section(' ', 0, 2), "cddb hello joe@example.org");
    EXPECT_TRUE(log.contains("Connecting to: 127.0.0.1"));
    // The empty title of track 2 is stored as its track name, not as the title before it.
    EXPECT_EQ(member("1302f603"),
              "[1302f603]\r\nAlbum=First Album\r\n"
              "Track 1=Hells Bells\r\nInterpret 1=The Testers\r\n"
              "Track 2=Track 2\r\nInterpret 2=The Testers\r\n"
              "Track 3=What Do You Do\r\nInterpret 3=The Testers\r\n");
    EXPECT_EQ(editor.fields.path, "First Album");

    log.clear();
    EXPECT_EQ(editor.lyricsForAllTracks(cddbEntry(), lyrics.lrclibEntry()), 3);
    EXPECT_TRUE(prompts.inputs.empty());
    // Each track: the search with "The" finds nothing, the one without it finds the song.
    const QStringList searches = lyrics.log().filter("/api/search");
    ASSERT_EQ(searches.size(), 6);
    EXPECT_TRUE(searches.at(0).contains("artist_name=The%20Testers"));
    EXPECT_TRUE(searches.at(1).contains("artist_name=Testers&"));
    EXPECT_TRUE(searches.at(1).contains("track_name=Hells%20Bells"));
    EXPECT_TRUE(log.contains("Retrieving Lyrics for:\r\nHells Bells"));
    EXPECT_TRUE(log.contains("artist_name=Testers&"));
    for (int track = 1; track <= 3; ++track) {
        EXPECT_EQ(member(QStringLiteral("1302f603.%1").arg(track)),
                  "Line one of 101\r\r\n\r\r\nLine two");
    }
}

TEST_F(ItemEditorCdTest, ManualEntryStoresTheRecordAfterTheLastTrack) {
    ASSERT_TRUE(editor.beginCd());
    editor.fields = {"One", "Handmade", "Band", {}, false};
    EXPECT_FALSE(editor.nextTrack());
    EXPECT_EQ(editor.fields.title, "Track 2");
    // An empty title is refused with its message; the track stays and nothing is stored yet.
    editor.fields.title.clear();
    EXPECT_FALSE(editor.nextTrack());
    EXPECT_EQ(editor.cd.currentTrack, 2);
    EXPECT_EQ(prompts.shown.size(), 1u);
    editor.fields.title = "Two";
    EXPECT_FALSE(editor.nextTrack());
    EXPECT_TRUE(member("1302f603").isEmpty());
    editor.fields.title = "Three";
    EXPECT_TRUE(editor.nextTrack());
    EXPECT_EQ(member("1302f603"),
              "[1302f603]\r\nAlbum=Handmade\r\nTrack 1=One\r\nInterpret 1=Band\r\n"
              "Track 2=Two\r\nInterpret 2=Band\r\nTrack 3=Three\r\nInterpret 3=Band\r\n");
}

TEST_F(ItemEditorCdTest, AFailedLyricsTransferShowsItsReasonInTheServerLog) {
    ASSERT_TRUE(editor.beginCd());
    session.store.putCdInfoRecord(editor.cd.discId, "Album",
                                  {{"500", "Band"}, {"one", "Band"}, {"zero", "Band"}});
    ASSERT_TRUE(session.writer.flush());
    EXPECT_EQ(editor.lyricsForAllTracks(cddbEntry(), lyrics.lrclibEntry()), 1);
    EXPECT_TRUE(log.contains("Lyrics transfer failed: the server answered HTTP 500"))
        << log.toStdString();
}

}  // namespace
}  // namespace marlo::test
