#include <gtest/gtest.h>

#include <cddb/cddb.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <future>
#include <string>

#include "tests/cd/CdFixture.h"
#include "tests/cd/CddbTestServer.h"

namespace marlo::test {
namespace {

// What libcddb made of the entry it read.
struct LibcddbResult {
    int matches = -1;
    bool read = false;
    std::string error;
    std::string category, artist, title, trackTitle, lastTrackTitle;
    int tracks = 0;
};

// Queries and reads one disc the way a third-party player would: CDDBP only, no local cache, so
// every answer comes from the loopback server. Blocking, hence run beside the server's loop.
LibcddbResult queryWithLibcddb(quint16 port) {
    LibcddbResult result;
    cddb_conn_t* conn = cddb_new();
    cddb_http_disable(conn);
    cddb_cache_disable(conn);
    cddb_set_server_name(conn, "127.0.0.1");
    cddb_set_server_port(conn, port);
    cddb_set_email_address(conn, "joe@example.org");
    cddb_set_timeout(conn, 5);

    // The table of contents of the recorded real disc 940aac0d; libcddb works the disc id out
    // from it.
    constexpr int kOffsets[] = {150,    15239,  29625,  45763,  61420,  75862, 91642,
                                108918, 123698, 139895, 153589, 169239, 188495};
    cddb_disc_t* disc = cddb_disc_new();
    for (const int offset : kOffsets) {
        cddb_track_t* track = cddb_track_new();
        cddb_track_set_frame_offset(track, offset);
        cddb_disc_add_track(disc, track);
    }
    cddb_disc_set_length(disc, 2734);

    result.matches = cddb_query(conn, disc);
    if (result.matches > 0) {
        result.read = cddb_read(conn, disc) == 1;
    }
    result.error = cddb_error_str(cddb_errno(conn));
    const auto text = [](const char* s) { return std::string(s ? s : ""); };
    result.category = text(cddb_disc_get_category_str(disc));
    result.artist = text(cddb_disc_get_artist(disc));
    result.title = text(cddb_disc_get_title(disc));
    result.tracks = cddb_disc_get_track_count(disc);
    if (cddb_track_t* second = cddb_disc_get_track(disc, 1)) {
        result.trackTitle = text(cddb_track_get_title(second));
    }
    if (cddb_track_t* last = cddb_disc_get_track(disc, 12)) {
        result.lastTrackTitle = text(cddb_track_get_title(last));
    }
    cddb_disc_destroy(disc);
    cddb_destroy(conn);
    return result;
}

TEST(LibcddbClientTest, QueriesAndReadsAnEntryOfTheLoopbackServer) {
    CddbTestServer server;
    ASSERT_TRUE(server.listen());
    server.loadEntries(testDataDir(QStringLiteral("libcddb-cache")));
    // The entry a real server sent, served by this server's own query and read rather than
    // replayed: its status line and closing "." dropped.
    QByteArray entry =
        transcriptBody(testDataDir(QStringLiteral("freedb-http-2020/cddb-read-proto-6.txt")));
    entry = entry.mid(entry.indexOf("\r\n") + 2);
    entry.chop(3);
    server.addEntry(QStringLiteral("misc"), QStringLiteral("940aac0d"), entry);

    std::future<LibcddbResult> client =
        std::async(std::launch::async, queryWithLibcddb, server.port());
    QElapsedTimer clock;
    clock.start();
    while (client.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        ASSERT_LT(clock.elapsed(), 20000) << "libcddb never finished";
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const LibcddbResult result = client.get();

    ASSERT_EQ(result.matches, 1) << result.error << "\n"
                                 << server.received.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(result.read) << result.error;
    EXPECT_EQ(result.category, "misc");
    EXPECT_EQ(result.artist, "Marina & The Diamonds");
    EXPECT_EQ(result.title, "The Family Jewels");
    EXPECT_EQ(result.tracks, 13);
    EXPECT_EQ(result.trackTitle, "Shampain");
    EXPECT_EQ(result.lastTrackTitle, "Guilty");
    EXPECT_TRUE(server.received.contains(QStringLiteral("cddb read misc 940aac0d")))
        << server.received.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace marlo::test
