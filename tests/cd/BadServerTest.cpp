#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <cstring>

#include "tests/cd/CdFixture.h"

namespace marlo::test {
namespace {

struct BadServer {
    const char* name;
    CddbTestServer::Behaviour behaviour;
    const char* result;   // start of the lookup's result
    const char* message;  // the one message box, or empty for none
};

class BadServerLookup : public CdFixture, public ::testing::WithParamInterface<BadServer> {};

// Every misbehaving server ends the lookup within the reply timeout with its own message, and
// the window's events keep running meanwhile.
TEST_P(BadServerLookup, EndsWithinTheTimeoutAndKeepsTheWindowResponsive) {
    const BadServer& bad = GetParam();
    server.setBehaviour(bad.behaviour);
    int ticks = 0;
    QTimer window;
    QObject::connect(&window, &QTimer::timeout, [&ticks] { ++ticks; });
    window.start(50);
    QElapsedTimer clock;
    clock.start();
    const QString result = cd.getCddbUseQueryString(QStringLiteral("12345678 1 150 10"));
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(result.left(qsizetype(std::strlen(bad.result))), QString::fromUtf8(bad.result));
    EXPECT_EQ(prompts.messageTexts().join(QLatin1Char('|')), QString::fromUtf8(bad.message));
    EXPECT_LT(elapsed, cd.replyTimeout() + 1000);
    EXPECT_GE(ticks, elapsed / 50 / 2) << "window events stalled during the wait";
    if (*bad.message != '\0' && QString::fromUtf8(bad.message).startsWith(QLatin1String("Timed"))) {
        EXPECT_TRUE(log().contains(QStringLiteral("Timeout")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BadServerLookup,
    ::testing::Values(
        BadServer{"Slow", CddbTestServer::Behaviour::Slow, "DiscArtist / DiscTitle\r\n16", ""},
        BadServer{"Silent", CddbTestServer::Behaviour::Silent, "000 Failure to Connect",
                  "Timed out waiting to connect"},
        BadServer{"NoHelloReply", CddbTestServer::Behaviour::NoHelloReply,
                  "431 Handshake not successful", "Timed out waiting for hello responce"},
        BadServer{"Garbage", CddbTestServer::Behaviour::Garbage, "", ""},
        BadServer{"CloseMidReply", CddbTestServer::Behaviour::CloseMidReply, "600 Timeout",
                  "Timed out waiting for read responce"},
        BadServer{"NoTerminator", CddbTestServer::Behaviour::NoTerminator, "600 Timeout",
                  "Timed out waiting for read responce"},
        BadServer{"TenMegabytes", CddbTestServer::Behaviour::Huge, "600 Timeout",
                  "Timed out waiting for read responce"}),
    [](const ::testing::TestParamInfo<BadServer>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace marlo::test
