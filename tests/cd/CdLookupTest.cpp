#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "base/EventWait.h"
#include "cd/TocDrive.h"
#include "tests/cd/CdFixture.h"

namespace marlo::test {
namespace {

const QString kRecordedQuery = QStringLiteral(
    "940aac0d 13 150 15239 29625 45763 61420 75862 91642 108918 123698 139895 153589 169239 "
    "188495 2734");

using CdLookup = CdFixture;

TEST_F(CdLookup, ExactMatchFromRecordedRepliesFillsTheEntry) {
    const QString result = cd.getCddbUseQueryString(kRecordedQuery);
    EXPECT_TRUE(result.startsWith(
        QStringLiteral("Marina & The Diamonds / The Family Jewels\r\n13\r\nAre You Satisfied?")))
        << qPrintable(result);
    EXPECT_EQ(cd.artist(), QStringLiteral("Marina & The Diamonds"));
    EXPECT_EQ(cd.cdTitle(), QStringLiteral("The Family Jewels"));
    EXPECT_EQ(cd.category(), QStringLiteral("misc"));
    EXPECT_EQ(cd.dataRev(), 2);
    EXPECT_EQ(cd.tracks(), 13);
    EXPECT_TRUE(cd.songName(13).size() > 0);
    EXPECT_TRUE(cd.songName(14).isEmpty());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(server.received.value(0),
              QStringLiteral("cddb hello joe@example.org testhost ActiveX 1.0"));
    EXPECT_EQ(server.received.value(2), QStringLiteral("cddb read data 940aac0d"));
    EXPECT_TRUE(log().startsWith(
        QStringLiteral("Connecting to: 127.0.0.1 Port: %1\r\n201 ").arg(server.port())));
}

TEST_F(CdLookup, DiscInTheDriveIsQueriedByItsId) {
    TocDrive drive({{150, 22660, 42790}, 57061});
    cd.setDrive(&drive);
    server.addEntry(QStringLiteral("rock"), QStringLiteral("1302f603"),
                    "# Revision: 4\nDISCID=1302f603\nDTITLE=AC/DC / Back in Black\n"
                    "TTITLE0=Hells Bells\nTTITLE1=Shoot to Thrill\nTTITLE2=What Do You Do\n");
    const QString result = cd.getCddb();
    EXPECT_EQ(server.received.value(1),
              QStringLiteral("cddb query 1302f603 3 150 22660 42790 758"));
    EXPECT_EQ(result, QStringLiteral("AC/DC / Back in Black\r\n3\r\nHells Bells\r\nShoot to "
                                     "Thrill\r\nWhat Do You Do"));
    EXPECT_EQ(cd.artist(), QStringLiteral("AC/DC"));
    EXPECT_EQ(cd.cdid(), QStringLiteral("1302f603"));
}

TEST_F(CdLookup, CloseMatchesGoThroughTheChooserUnlessTheFirstIsTaken) {
    server.addEntry(QStringLiteral("rock"), QStringLiteral("12345678"),
                    "DTITLE=Rock Artist / Rock Album\nTTITLE0=One\n");
    for (const bool firstMatch : {false, true}) {
        chooser.shown.clear();
        chooser.answer = 1;
        cd.setUseFirstMatch(firstMatch);
        const QString result = cd.getCddbUseQueryString(QStringLiteral("12345678 1 150 10"));
        if (firstMatch) {
            EXPECT_TRUE(chooser.shown.isEmpty());
            EXPECT_EQ(cd.category(), QStringLiteral("misc"));
            EXPECT_EQ(cd.tracks(), 16);
        } else {
            ASSERT_EQ(chooser.shown.size(), 1);
            ASSERT_EQ(chooser.shown.first().size(), 2);
            EXPECT_EQ(chooser.shown.first().at(0).title, QStringLiteral("DiscArtist / DiscTitle"));
            EXPECT_EQ(cd.category(), QStringLiteral("rock"));
            EXPECT_EQ(result, QStringLiteral("Rock Artist / Rock Album\r\n1\r\nOne"));
        }
        EXPECT_EQ(cd.selection().discId, QStringLiteral("12345678"));
    }
}

TEST_F(CdLookup, RefusalsShowTheirMessageAndQuit) {
    struct Case {
        QByteArray queryReply;
        QString message;
    };
    const QList<Case> cases{
        {"", QStringLiteral("202 No exact match")},  // unknown disc
        {"403 Database entry is corrupt.\r\n", QStringLiteral("403 Database entry Is corrupt")},
        {"409 No handshake\r\n", QStringLiteral("409 No handshake")},
    };
    for (const Case& c : cases) {
        prompts.shown.clear();
        server.received.clear();
        server.setQueryReply(c.queryReply);
        EXPECT_TRUE(cd.getCddbUseQueryString(QStringLiteral("0badc0de 1 150 10")).isEmpty());
        EXPECT_EQ(prompts.messageTexts(), QStringList{c.message});
        EXPECT_TRUE(waitWhileDispatching([this] { return server.received.size() == 3; }, 2000));
        EXPECT_EQ(server.received.value(2), QStringLiteral("quit"));
    }
}

TEST_F(CdLookup, HandshakeAndConnectFailures) {
    cd.setEmail(QString());
    EXPECT_EQ(cd.getCddbUseQueryString(kRecordedQuery),
              QStringLiteral("431 Handshake not successful, closing connection"));
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Need an email address")});
    EXPECT_TRUE(waitWhileDispatching([this] { return !server.received.isEmpty(); }, 2000));
    EXPECT_EQ(server.received, QStringList{QStringLiteral("quit")});

    prompts.shown.clear();
    cd.setEmail(QStringLiteral("joe@example.org"));
    useDeadPort();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(cd.getCddbUseQueryString(kRecordedQuery), QStringLiteral("000 Failure to Connect"));
    EXPECT_LT(clock.elapsed(), 2000) << "a refused connection does not wait for the timer";
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Timed out waiting to connect")});
}

TEST_F(CdLookup, FarewellArrivesAfterTheLookupReturned) {
    ASSERT_FALSE(cd.getCddbUseQueryString(kRecordedQuery).isEmpty());
    EXPECT_TRUE(log().endsWith(QStringLiteral("quit\r\n")));
    EXPECT_TRUE(
        waitWhileDispatching([this] { return log().contains(QStringLiteral("230 ")); }, 2000));
    // The connection is free for the next lookup once the server closed it.
    EXPECT_FALSE(cd.getCddbUseQueryString(kRecordedQuery).isEmpty());
}

TEST_F(CdLookup, SecondLookupDuringAWaitIsRefused) {
    server.setBehaviour(CddbTestServer::Behaviour::Slow);
    QString second = QStringLiteral("not run");
    std::optional<CdError> secondError;
    QTimer::singleShot(200, [&] {
        second = cd.getCddbUseQueryString(QStringLiteral("12345678 1 150 10"));
        secondError = cd.lastError();
    });
    const QString first = cd.getCddbUseQueryString(kRecordedQuery);
    EXPECT_TRUE(second.isEmpty());
    ASSERT_TRUE(secondError);
    EXPECT_EQ(secondError->number, kErrBusy);
    EXPECT_TRUE(first.startsWith(QStringLiteral("Marina & The Diamonds")));
    EXPECT_EQ(server.received.filter(QStringLiteral("cddb query")).size(), 1);
    EXPECT_FALSE(cd.busy());
}

TEST_F(CdLookup, EntriesInUtf8AndWindows1252ReadAlike) {
    server.addEntry(QStringLiteral("rock"), QStringLiteral("12340001"),
                    "DTITLE=Bj\xf6rk / Debut\nTTITLE0=Human Behaviour \x96 Live\n");
    ASSERT_FALSE(cd.getCddbUseQueryString(QStringLiteral("12340000 1 150 2000")).isEmpty());
    EXPECT_EQ(cd.title(), QStringLiteral("A\u00efi / A\u00efi"));
    EXPECT_EQ(cd.songName(1), QStringLiteral("A\u00efi"));
    ASSERT_FALSE(cd.getCddbUseQueryString(QStringLiteral("12340001 1 150 2000")).isEmpty());
    EXPECT_EQ(cd.artist(), QStringLiteral("Bj\u00f6rk"));
    EXPECT_EQ(cd.songName(1), QStringLiteral("Human Behaviour \u2013 Live"));
}

TEST_F(CdLookup, BareLineFeedRepliesReadLikeCrLf) {
    server.setBehaviour(CddbTestServer::Behaviour::BareLf);
    EXPECT_EQ(cd.getCddbUseQueryString(QStringLiteral("12345678 1 150 10")).section('\n', 0, 1),
              QStringLiteral("DiscArtist / DiscTitle\r\n16\r"));
    EXPECT_EQ(cd.songName(3), QStringLiteral("TrackArtist3 cntd. / TrackTitle3"));
}

TEST_F(CdLookup, CategoriesSitesAndMessageOfTheDay) {
    EXPECT_EQ(cd.getlscat(), 11);
    EXPECT_EQ(cd.getCategory(1), QStringLiteral("blues"));
    EXPECT_EQ(cd.getCategory(11), QStringLiteral("soundtrack"));
    EXPECT_TRUE(cd.getCategory(0).isEmpty());
    EXPECT_TRUE(cd.getCategory(12).isEmpty());
    ASSERT_TRUE(
        waitWhileDispatching([this] { return log().count(QStringLiteral("230 ")) == 1; }, 2000));
    EXPECT_EQ(cd.getSites(), 2);
    EXPECT_EQ(cd.siteAddress(2), QStringLiteral("freedb.dbpoweramp.com"));
    EXPECT_EQ(cd.sitePort(1), 8880);
    EXPECT_EQ(cd.siteLocation(1), QStringLiteral("N000.00 W000.00 Random gnudb server"));
    EXPECT_EQ(cd.sitePort(3), 0);
    ASSERT_TRUE(
        waitWhileDispatching([this] { return log().count(QStringLiteral("230 ")) == 2; }, 2000));
    EXPECT_TRUE(cd.getMotd().contains(QStringLiteral("Welcome to the loopback server.")));
    EXPECT_EQ(server.received.filter(QStringLiteral("motd")).size(), 2);

    // Lists without a line leave none of the earlier ones.
    server.setEmptyLists(true);
    ASSERT_TRUE(
        waitWhileDispatching([this] { return log().count(QStringLiteral("230 ")) == 3; }, 2000));
    EXPECT_EQ(cd.getlscat(), 0);
    EXPECT_EQ(cd.categories(), 0);
    EXPECT_TRUE(cd.getCategory(1).isEmpty());
    ASSERT_TRUE(
        waitWhileDispatching([this] { return log().count(QStringLiteral("230 ")) == 4; }, 2000));
    EXPECT_EQ(cd.getSites(), 0);
    EXPECT_EQ(cd.sites(), 0);
}

TEST_F(CdLookup, SendPassesTheTextAsItIs) {
    cd.cddbSend(QStringLiteral("cddb hello a b c d\r\nproto 6\r\n"));
    EXPECT_TRUE(waitWhileDispatching([this] { return server.received.size() == 2; }, 2000));
    EXPECT_EQ(server.received.value(1), QStringLiteral("proto 6"));
}

}  // namespace
}  // namespace marlo::test
