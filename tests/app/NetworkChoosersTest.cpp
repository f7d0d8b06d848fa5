#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "app/CompositionRoot.h"
#include "app/Marlo.h"
#include "base/Catalogue.h"
#include "cd/CdBase.h"
#include "library/Editierform.h"
#include "library/Musikform.h"
#include "platform/archive/ZipStore.h"
#include "tests/app/ProgramRootFixture.h"
#include "tests/cd/CddbTestServer.h"
#include "lyrics/LyricsServerList.h"
#include "tests/lyrics/FakeLyricsServer.h"

namespace marlo::test {
namespace {

// Answers the next modal chooser named `name` by selecting `row` and pressing its Select
// button; `seen` records the lines it listed.
void answerChooser(const QString& name, int row, QStringList& seen) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, name, row, &seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != name) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        auto* list = modal->findChild<QListWidget*>();
        for (int i = 0; list != nullptr && i < list->count(); ++i) {
            seen.append(list->item(i)->text());
        }
        if (list != nullptr) {
            list->setCurrentRow(row);
        }
        modal->findChild<QPushButton*>(QStringLiteral("cmdSelect"))->click();
    });
    poll->start(20);
}

// The program's own composition over a CD image: the item editor's lookups meet a CD database
// that offers two close matches and a lyrics server that finds three songs, and the choosers
// that appear are the program's.
class NetworkChoosersTest : public ProgramRootFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(cddb.listen());
        cddb.setQueryReply(
            "211 close matches found\r\nrock aaaa0001 First Band / First Album\r\n"
            "jazz bbbb0002 Second Band / Second Album\r\n.\r\n");
        cddb.addEntry("rock", "aaaa0001",
                      "DISCID=aaaa0001\nDTITLE=First Band / First Album\nTTITLE0=one\n"
                      "TTITLE1=one\n");
        cddb.addEntry("jazz", "bbbb0002",
                      "DISCID=bbbb0002\nDTITLE=Second Band / Second Album\nTTITLE0=three\n"
                      "TTITLE1=one\n");
        ProgramRootFixture::SetUp();
    }

    CddbTestServer cddb;
    FakeLyricsServer lyrics;
};

TEST_F(NetworkChoosersTest, TheProgramsChoosersPickTheSecondMatchAndTheSecondSong) {
    // The kind button steps from audio to CD audio; New opens the item editor on the disc.
    press(collection(), "Befehl9");
    press(collection(), "Befehl8");
    auto* editor = static_cast<Editierform*>(topLevel(QStringLiteral("Editierform")));
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->cdMode());
    const QString discId = editor->itemEditor().cd.discId;
    ASSERT_EQ(discId.size(), 8);

    auto* servers = editor->findChild<QComboBox*>(QStringLiteral("Combo1"));
    servers->setEditText(QStringLiteral("127.0.0.1 %1").arg(cddb.port()));
    QStringList matchLines;
    answerChooser(QStringLiteral("frmMatches"), 1, matchLines);
    editor->findChild<QPushButton*>(QStringLiteral("Befehl1"))->click();
    EXPECT_EQ(matchLines, QStringList({"rock / First Band / First Album",
                                       "jazz / Second Band / Second Album"}));
    EXPECT_TRUE(cddb.received.contains("cddb read jazz bbbb0002"));
    EXPECT_TRUE(member(discId).startsWith("[" + discId.toUtf8() +
                                          "]\r\nAlbum=Second Album\r\nTrack 1=three\r\n"))
        << member(discId).toStdString();

    editor->findChild<QComboBox*>(QStringLiteral("Combo3"))->setEditText(lyrics.lrclibEntry());
    QStringList songLines;
    answerChooser(QStringLiteral("frmSelect"), 1, songLines);
    editor->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(songLines.size(), 3);
    EXPECT_TRUE(lyrics.log().contains("/api/get/302")) << lyrics.log().join(' ').toStdString();
    EXPECT_TRUE(member(discId + ".1").contains("302"));
    // The next start offers that server first, and the lyrics window asks it.
    EXPECT_EQ(lyricsServers(folder.program()).value(0), lyrics.lrclibEntry());
}

TEST_F(NetworkChoosersTest, CancelEndsACdDatabaseWaitAtOnceAndStoresNothing) {
    cddb.setBehaviour(CddbTestServer::Behaviour::Silent);
    press(collection(), "Befehl9");
    press(collection(), "Befehl8");
    auto* editor = static_cast<Editierform*>(topLevel(QStringLiteral("Editierform")));
    ASSERT_NE(editor, nullptr);
    editor->findChild<QComboBox*>(QStringLiteral("Combo1"))
        ->setEditText(QStringLiteral("127.0.0.1 %1").arg(cddb.port()));
    QTimer::singleShot(300, [editor] { press(*editor, "Befehl2"); });
    QElapsedTimer waited;
    waited.start();
    press(*editor, "Befehl1");
    EXPECT_LT(waited.elapsed(), 5000);  // the server would have kept it waiting a minute
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.messageTexts().join('|').toStdString();
    EXPECT_TRUE(member(editor->itemEditor().cd.discId).isEmpty());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(editor->itemEditor().cdBase().busy());
}

}  // namespace
}  // namespace marlo::test
