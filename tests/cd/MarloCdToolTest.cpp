#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "base/EventWait.h"
#include "tests/cd/CdFixture.h"

namespace marlo::test {
namespace {

struct ToolRun {
    int exitCode = -1;
    QStringList out;
    QString err;
};

// Runs marlo-cd while this thread keeps serving the loopback server.
ToolRun runTool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(MARLO_CD_TOOL), arguments);
    EXPECT_TRUE(process.waitForStarted());
    EXPECT_TRUE(waitWhileDispatching([&process] { return process.state() == QProcess::NotRunning; },
                                     40000));
    ToolRun run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// A CUE sheet and a sparse BIN of silence with tracks at 0:02.00, 5:02.10 and 9:30.40 and the
// lead-out at 12:40.61.
QString writeImage(const QTemporaryDir& dir) {
    QFile cue(dir.filePath(QStringLiteral("disc.cue")));
    EXPECT_TRUE(cue.open(QIODevice::WriteOnly));
    cue.write(
        "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    INDEX 01 05:00:10\n  TRACK 03 AUDIO\n"
        "    INDEX 01 09:28:40\n");
    QFile bin(dir.filePath(QStringLiteral("disc.bin")));
    EXPECT_TRUE(bin.open(QIODevice::WriteOnly));
    EXPECT_TRUE(bin.resize(qint64(57061 - 150) * 2352));
    return cue.fileName();
}

using MarloCdTool = CdFixture;

TEST_F(MarloCdTool, DiscidParseAndLookupPrintTheirFields) {
    QTemporaryDir dir;
    const QString cue = writeImage(dir);
    server.addEntry(QStringLiteral("rock"), QStringLiteral("1302f603"),
                    "# Revision: 4\nDTITLE=AC/DC / Back in Black\nTTITLE0=Hells Bells\n"
                    "TTITLE1=Shoot to Thrill\nTTITLE2=What Do You Do\nEXTD=YEAR: 1980\n");
    const QString address = QStringLiteral("127.0.0.1:%1").arg(server.port());
    struct Case {
        QStringList arguments;
        int exitCode;
        QStringList lines;  // expected among the output lines
    };
    const QList<Case> cases{
        {{QStringLiteral("discid"), cue},
         0,
         {QStringLiteral("Cdid=1302f603"), QStringLiteral("Tracks=3"),
          QStringLiteral("DiscLength=758"), QStringLiteral("Query=1302f603 3 150 22660 42790 758"),
          QStringLiteral("TrackStart3=42790")}},
        {{QStringLiteral("parse"), testDataDir(QStringLiteral("libcddb-cache/misc/12345678"))},
         0,
         {QStringLiteral("Artist=DiscArtist"), QStringLiteral("Tracks=16"),
          QStringLiteral("SongName3=TrackArtist3 cntd. / TrackTitle3"),
          QStringLiteral("DataRev=1")}},
        {{QStringLiteral("lookup"), QStringLiteral("--server"), address, QStringLiteral("--email"),
          QStringLiteral("joe@example.org"), cue},
         0,
         {QStringLiteral("Result=AC/DC / Back in Black\\n3\\nHells Bells\\nShoot to "
                         "Thrill\\nWhat Do You Do"),
          QStringLiteral("Artist=AC/DC"), QStringLiteral("SongName2=Shoot to Thrill"),
          QStringLiteral("ExtData=YEAR: 1980")}},
        {{QStringLiteral("discid"), dir.filePath(QStringLiteral("missing.cue"))}, 1, {}},
    };
    for (const Case& c : cases) {
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(c.arguments.join(' ') + run.err);
        for (const QString& line : c.lines) {
            EXPECT_TRUE(run.out.contains(line)) << qPrintable(line + " in " + run.out.join('|'));
        }
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.err.startsWith(QStringLiteral("marlo-cd: "))) << qPrintable(run.err);
        }
    }
    // The server log goes to standard error, farewell included.
    const ToolRun run =
        runTool({QStringLiteral("lookup"), QStringLiteral("--server"), address,
                 QStringLiteral("--email"), QStringLiteral("joe@example.org"), cue});
    EXPECT_TRUE(run.err.contains(QStringLiteral("cddb read rock 1302f603\r\n")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("230 loopback")));
}

// Help is asked for, not an error: the usage goes to standard output and the exit status is 0.
TEST(MarloCdToolHelp, HelpPrintsTheUsageOnStandardOutput) {
    const QList<QStringList> asks{{"--help"},           {"-h"},
                                  {"discid", "--help"}, {"parse", "--help"},
                                  {"lyrics", "--help"}, {"lookup", "--server", "x:1", "--help"}};
    for (const QStringList& arguments : asks) {
        const ToolRun run = runTool(arguments);
        const QString words = arguments.join(' ');
        EXPECT_EQ(run.exitCode, 0) << qPrintable(words + ": " + run.err);
        EXPECT_TRUE(run.err.isEmpty()) << qPrintable(words + ": " + run.err);
        ASSERT_FALSE(run.out.isEmpty()) << qPrintable(words);
        const QString command = arguments.first().startsWith('-') ? "" : arguments.first() + " ";
        EXPECT_TRUE(run.out.first().startsWith("usage: marlo-cd " + command))
            << qPrintable(words + ": " + run.out.first());
    }
    // Every subcommand is named in the whole usage.
    const QString all = runTool({"--help"}).out.join('\n');
    for (const char* name : {"discid DEVICE", "parse FILE", "lookup [", "lyrics ["}) {
        EXPECT_TRUE(all.contains(QLatin1String("marlo-cd ") + name)) << name;
    }
}

}  // namespace
}  // namespace marlo::test
