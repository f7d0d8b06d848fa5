// The tests' CD database server as a program, for trying marlo-cd or the player by hand:
// cddb_server PORT ENTRIES_FOLDER [behaviour]. Runs until killed.
#include <QCoreApplication>
#include <cstdio>

#include "tests/cd/CddbTestServer.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: cddb_server PORT ENTRIES_FOLDER [slow|silent|garbage|...]\n");
        return 2;
    }
    using marlo::test::CddbTestServer;
    CddbTestServer server;
    server.loadEntries(arguments.at(2));
    const QMap<QString, CddbTestServer::Behaviour> behaviours{
        {QStringLiteral("normal"), CddbTestServer::Behaviour::Normal},
        {QStringLiteral("barelf"), CddbTestServer::Behaviour::BareLf},
        {QStringLiteral("slow"), CddbTestServer::Behaviour::Slow},
        {QStringLiteral("silent"), CddbTestServer::Behaviour::Silent},
        {QStringLiteral("nohelloreply"), CddbTestServer::Behaviour::NoHelloReply},
        {QStringLiteral("garbage"), CddbTestServer::Behaviour::Garbage},
        {QStringLiteral("closemidreply"), CddbTestServer::Behaviour::CloseMidReply},
        {QStringLiteral("noterminator"), CddbTestServer::Behaviour::NoTerminator},
        {QStringLiteral("huge"), CddbTestServer::Behaviour::Huge},
    };
    server.setBehaviour(
        behaviours.value(arguments.value(3).toLower(), CddbTestServer::Behaviour::Normal));
    if (!server.listen(static_cast<quint16>(arguments.at(1).toUInt()))) {
        std::fprintf(stderr, "cannot listen on port %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    std::printf("listening on 127.0.0.1:%u\n", server.port());
    std::fflush(stdout);
    return app.exec();
}
