#include "library/ItemStore.h"

#include <iostream>

#include "tests/library/LibraryFixture.h"

namespace marlo {
namespace {

class ItemStoreTest : public test::LibraryFixture {
  protected:
    ItemStore& store() { return session->store; }
};

TEST_F(ItemStoreTest, MissingRecordReadsAsNichtVorhandenWithEmptyTag) {
    for (const bool storeExists : {false, true}) {
        if (storeExists) {
            store().putItemRecord({MediaKind::Audio, "Other", "/o.wav", "", ""});
            ASSERT_TRUE(store().commit());
        }
        const MediaItem item = store().ReadItem(MediaKind::Audio, "Absent");
        EXPECT_EQ(item.title, "Nicht vorhanden");
        EXPECT_EQ(item.path, "Nicht vorhanden");
        EXPECT_EQ(item.artist, "Nicht vorhanden");
        EXPECT_EQ(item.typeTag, "");
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ItemStoreTest, RecordsOfKindsAreSeparateAndDeleteRemovesOnlyTheNamedOne) {
    store().putItemRecord({MediaKind::Audio, "Same", "/a.wav", "A", ""});
    store().putItemRecord({MediaKind::Video, "Same", "/v.avi", "V", ""});
    ASSERT_TRUE(store().commit());
    store().DeleteItemRecord("a_Same");
    ASSERT_TRUE(store().commit());
    EXPECT_EQ(membersOnDisk(), QStringList{"v_Same"});
    EXPECT_EQ(store().ReadItem(MediaKind::Video, "Same").path, "/v.avi");
    EXPECT_EQ(store().ReadItem(MediaKind::Audio, "Same").path, "Nicht vorhanden");
}

// A record written by hand or by an older tool: odd spacing and Windows-1252 text.
TEST_F(ItemStoreTest, ReadsRecordsWithWindowsSemantics) {
    ZipStore zip(data("Marlo.zip"));
    zip.open();
    zip.put("a_Lied", "[A_LIED]\r\nliedbezeichnung = Lied\r\nPfad=C:\\Musik\\M\xe4rz.wav\r\n");
    ASSERT_TRUE(zip.commit());
    const MediaItem item = store().ReadItem(MediaKind::Audio, "Lied");
    EXPECT_EQ(item.title, "Lied");
    EXPECT_EQ(item.path, QString::fromUtf8("C:\\Musik\\März.wav"));
    EXPECT_EQ(item.artist, "Nicht vorhanden");
}

TEST_F(ItemStoreTest, CdIsUnknownUntilItsRecordIsStored) {
    const QString disc = "1302f603";
    EXPECT_FALSE(store().ReadCdInfo(disc, 2).known);

    store().putCdInfoRecord(disc, "Album X", {{"First", "Band"}, {"Second", ""}});
    ASSERT_TRUE(store().commit());
    EXPECT_EQ(memberOnDisk(disc),
              "[1302f603]\r\nAlbum=Album X\r\nTrack 1=First\r\nInterpret 1=Band\r\n"
              "Track 2=Second\r\nInterpret 2=\r\n");

    ItemStore fresh(data("Marlo.zip"), prompts);
    const CdInfo info = fresh.ReadCdInfo(disc, 3);
    ASSERT_TRUE(info.known);
    EXPECT_EQ(info.album, "Album X");
    ASSERT_EQ(info.tracks.size(), 3);
    EXPECT_EQ(info.tracks[0], (CdTrackInfo{"First", "Band"}));
    EXPECT_EQ(info.tracks[1], (CdTrackInfo{"Second", ""}));
    EXPECT_EQ(info.tracks[2], (CdTrackInfo{"Nicht vorhanden", "Nicht vorhanden"}));
}

TEST_F(ItemStoreTest, LyricsAreKeptByteForByte) {
    const QByteArray lyrics("Line one\nZeile \xe4 zwei\r\n\0end", 27);
    store().putLyrics("1302f603", 12, lyrics);
    ASSERT_TRUE(store().commit());
    EXPECT_EQ(membersOnDisk(), QStringList{"1302f603.12"});
    ItemStore fresh(data("Marlo.zip"), prompts);
    QByteArray read;
    ASSERT_TRUE(fresh.readLyrics("1302f603", 12, read));
    EXPECT_EQ(read, lyrics);
    EXPECT_FALSE(fresh.readLyrics("1302f603", 1, read));
}

TEST_F(ItemStoreTest, UnreadableStoreIsKeptAsideAndTheUserToldWhereInBothLanguages) {
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::German}) {
        Catalogue::setLanguage(language);
        prompts.shown.clear();
        test::writeFile(data("Marlo.zip"), "these bytes are no zip archive");
        ItemStore store(data("Marlo.zip"), prompts);

        const MediaItem item = store.ReadItem(MediaKind::Audio, "Anything");
        EXPECT_EQ(item.path, "Nicht vorhanden");
        const QString aside = store.movedAsidePath();
        ASSERT_FALSE(aside.isEmpty());
        EXPECT_EQ(test::readFile(aside), "these bytes are no zip archive");
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
        EXPECT_TRUE(prompts.shown[0].text.contains(aside)) << prompts.shown[0].text.toStdString();
        EXPECT_EQ(prompts.shown[0].title, language == UiLanguage::English
                                              ? "Database damaged"
                                              : QString::fromUtf8("Datenbank beschädigt"));

        // The library goes on with an empty store that works.
        store.putItemRecord({MediaKind::Audio, "New", "/n.wav", "", ""});
        ASSERT_TRUE(store.commit());
        EXPECT_EQ(membersOnDisk(), QStringList{"a_New"});
        EXPECT_EQ(test::readFile(aside), "these bytes are no zip archive");
        QFile::remove(data("Marlo.zip"));
    }
}

// A store cut short, as a full disk or an interrupted copy leaves it: the records before the cut
// are saved into the new store; lost are the rest, which the collection still lists.
TEST_F(ItemStoreTest, CutStoreKeepsItsWholeRecordsAndTellsHowManyWereSavedAndLost) {
    constexpr int kRecords = 1000;
    QStringList titles;
    QList<QByteArray> recordBytes;
    for (int i = 0; i < kRecords; ++i) {
        const QString title = QString("Song %1").arg(i, 4, 10, QChar('0'));
        titles << title;
        store().putItemRecord(
            {MediaKind::Audio, title, QString("/music/%1.mp3").arg(i), "Artist", "mp3"});
    }
    ASSERT_TRUE(store().commit());
    writeLines("aAll.dat", titles);
    writeLines("Audio.dat", {"All"});
    ZipStore written(data("Marlo.zip"));
    written.open();
    for (const QString& title : titles) {
        ASSERT_TRUE(written.read("a_" + title, recordBytes.emplace_back()));
    }
    const QByteArray whole = test::readFile(data("Marlo.zip"));

    for (const int percent : {10, 50, 90}) {
        SCOPED_TRACE(std::to_string(percent) + "%");
        const bool german = percent == 50;
        Catalogue::setLanguage(german ? UiLanguage::German : UiLanguage::English);
        for (const QString& old : QDir(folder.data()).entryList({"Marlo.zip*"}, QDir::Files)) {
            QFile::remove(data(old));
        }
        const QByteArray cut = whole.left(whole.size() * percent / 100);
        test::writeFile(data("Marlo.zip"), cut);
        prompts.shown.clear();

        ItemStore damaged(data("Marlo.zip"), prompts);
        ASSERT_EQ(damaged.open(), ZipStore::OpenState::MovedAside);
        int saved = 0;
        for (int i = 0; i < kRecords; ++i) {
            // Records are stored uncompressed: one is whole in the cut file when its bytes are.
            const bool inCut = cut.contains(recordBytes[i]);
            saved += inCut ? 1 : 0;
            EXPECT_EQ(damaged.ReadItem(MediaKind::Audio, titles[i]).path,
                      inCut ? QString("/music/%1.mp3").arg(i) : "Nicht vorhanden")
                << titles[i].toStdString();
        }
        const int lost = kRecords - saved;
        std::cout << "store of " << kRecords << " records cut at " << percent << "% (" << cut.size()
                  << " of " << whole.size() << " bytes): saved " << saved << ", lost " << lost
                  << std::endl;
        EXPECT_GT(saved, 0);
        EXPECT_EQ(membersOnDisk().size(), saved);  // written at once

        ASSERT_EQ(prompts.shown.size(), 1);
        const auto& shown = prompts.shown[0];
        EXPECT_EQ(shown.icon, PromptIcon::Warning);
        EXPECT_TRUE(shown.text.contains(damaged.movedAsidePath()));
        const QString figures =
            german ? QString::fromUtf8(
                         "aufbewahrt. %1 Einträge konnten in eine neue Datenbank übernommen "
                         "werden; %2 Einträge sind verloren.")
                   : QString(
                         "\n%1 records could be saved into a new database; %2 records "
                         "are lost.");
        EXPECT_TRUE(shown.text.contains(figures.arg(saved).arg(lost))) << shown.text.toStdString();
    }
}

TEST_F(ItemStoreTest, BrokenMemberReportsTheZipError) {
    store().putItemRecord({MediaKind::Audio, "Song", QString(3000, 'p'), "", ""});
    ASSERT_TRUE(store().commit());
    QByteArray bytes = test::readFile(data("Marlo.zip"));
    const qsizetype dataStart = 30 + QByteArray("a_Song").size();
    bytes[dataStart + 1] = static_cast<char>(bytes[dataStart + 1] ^ 0x33);
    test::writeFile(data("Marlo.zip"), bytes);

    ItemStore fresh(data("Marlo.zip"), prompts);
    const MediaItem item = fresh.ReadItem(MediaKind::Audio, "Song");
    EXPECT_EQ(item.path, "Nicht vorhanden");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.startsWith("Error "));
    EXPECT_TRUE(prompts.shown[0].text.endsWith(" while reading or extrating Zip"));
}

}  // namespace
}  // namespace marlo
