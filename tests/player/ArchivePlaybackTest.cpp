// Archive members met during playback: refused and failing ones, and what extraction leaves.
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "tests/platform/ArchiveTestTools.h"
#include "tests/player/EngineFixture.h"

namespace marlo::test {
namespace {

class ArchivePlayback : public EngineFixture {
  protected:
    QString zip(const QString& name, const QList<ZipMember>& members) {
        return writeFile(folder.program() + name, storedZip(members));
    }
};

// An unattended list must not wait for a click: the refusal shows in `Titel` as a device error
// does, with the reason in its tooltip, and the refused entry stays selected.
TEST_F(ArchivePlayback, UnsafeMemberIsRefusedInTheTitleWithoutABox) {
    const QString archive = zip("hostile.zip", {{"../evil.wav", "RIFF"}});
    addItem("A", "a.wav");
    addItem("Evil", archive + "|../evil.wav");
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::German}) {
        Catalogue::setLanguage(language);
        const bool english = language == UiLanguage::English;
        select(0);
        engine.play();
        ASSERT_TRUE(engine.state().playing);
        engine.next();
        EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.messageTexts().join('\n').toStdString();
        EXPECT_EQ(index(), 1);
        EXPECT_EQ(display.titel(),
                  english ? "ERROR: Unsafe file name" : "FEHLER: Unsicherer Dateiname");
        EXPECT_TRUE(display.titelTip().contains("../evil.wav")) << display.titelTip().toStdString();
        EXPECT_EQ(display.dauer(), "");
        EXPECT_EQ(display.interpret(), "");
        EXPECT_FALSE(engine.state().playing);
        EXPECT_EQ(display.play(), ButtonLook::Idle);
        EXPECT_FALSE(QFile::exists(folder.program() + "evil.wav"));
    }
}

// A member that is not there stops the item quietly; an archive that is no zip at all is
// reported as the unzip tool numbered it. Neither leaves anything playing or extracted.
TEST_F(ArchivePlayback, MemberThatCannotBeExtractedStopsTheItem) {
    const QString archive = zip("music.zip", {{"song.wav", "RIFF"}});
    const QString broken = writeFile(folder.program() + "broken.zip", "this is no zip archive");
    addItem("Missing", archive + "|other.wav");
    addItem("Broken", broken + "|song.wav");
    const struct {
        int entry;
        QStringList messages;
    } cases[] = {{0, {}}, {1, {"Error 3 while reading or extrating Zip"}}};
    for (const auto& c : cases) {
        prompts.shown.clear();
        select(c.entry);
        engine.play();
        EXPECT_EQ(prompts.messageTexts(), c.messages);
        EXPECT_FALSE(engine.state().playing);
        EXPECT_EQ(display.play(), ButtonLook::Idle);
        EXPECT_TRUE(audio.commands().isEmpty());
        EXPECT_TRUE(
            QDir(extractFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
}

// Extraction creates the member's folders below "Extracted"; the stop removes the ones it
// created and keeps those that were there before, with what the user keeps in them.
TEST_F(ArchivePlayback, StopRemovesTheFoldersExtractionCreated) {
    const QString archive =
        zip("album.zip", {{"music/live/song.wav", "RIFFdata"}, {"top.wav", "RIFF"}});
    addItem("Song", archive + "|music/live/song.wav");
    addItem("Top", archive + "|top.wav");
    const QString mine = extractFolder() + "music/mine.txt";
    const struct {
        int entry;
        bool userFolder;   // "Extracted/music" with a file of the user's exists before
        QStringList left;  // below the program folder, besides the archive
    } cases[] = {
        {0, false, {}},
        {0, true, {"Extracted", "Extracted/music", "Extracted/music/mine.txt"}},
        {1, false, {}},
    };
    for (const auto& c : cases) {
        QDir(extractFolder()).removeRecursively();
        if (c.userFolder) {
            writeFile(mine, "keep");
        }
        select(c.entry);
        engine.play();
        ASSERT_TRUE(engine.state().playing);
        ASSERT_TRUE(audio.fileName().startsWith(extractFolder()));
        engine.stop();
        QStringList left;
        QDirIterator it(folder.program(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next().mid(folder.program().size());
            if (path != "album.zip" && !path.startsWith("Data") && !path.startsWith("media")) {
                left << path;
            }
        }
        left.sort();
        EXPECT_EQ(left, c.left) << "entry " << c.entry << (c.userFolder ? " with" : " without")
                                << " a folder of the user's";
    }
}

}  // namespace
}  // namespace marlo::test
