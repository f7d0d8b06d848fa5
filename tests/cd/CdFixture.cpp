#include "tests/cd/CdFixture.h"

#include <QTcpServer>

namespace marlo::test {

QString testDataDir(const QString& relative) {
    return QStringLiteral(MARLO_TESTDATA_DIR "/cddb/") + relative;
}

void CdFixture::SetUp() {
    ASSERT_TRUE(server.listen());
    server.loadEntries(testDataDir(QStringLiteral("libcddb-cache")));
    server.replayQuery(QStringLiteral("940aac0d"),
                       testDataDir(QStringLiteral("freedb-http-2020/cddb-query-proto-1.txt")));
    // The recorded query answers with the category "data"; the recorded read of the same disc is
    // the one to replay for it.
    server.replayRead(QStringLiteral("data"), QStringLiteral("940aac0d"),
                      testDataDir(QStringLiteral("freedb-http-2020/cddb-read-proto-6.txt")));
    cd.setServer(QStringLiteral("127.0.0.1"));
    cd.setPort(server.port());
    cd.setEmail(QStringLiteral("joe@example.org"));
    cd.setHostName(QStringLiteral("testhost"));
    cd.setConnectTimeout(5000);
    cd.setChooser(&chooser);
    QObject::connect(&cd, &CdBase::dataSent, [this](const QString& text, int) { log_ << text; });
}

void CdFixture::useDeadPort() {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    cd.setPort(probe.serverPort());
}

}  // namespace marlo::test
