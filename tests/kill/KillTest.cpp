// Kills a session's writing steps at every write to the library, skin and settings files and
// checks what the next start finds: the files read, nothing listed without its record, and
// everything committed before the kill still there.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <future>
#include <iostream>
#include <mutex>

#include <unistd.h>

#include "tests/support/TestFolders.h"
#include "tests/support/XSession.h"

namespace marlo {
namespace {

using Facts = QSet<QString>;

struct StepRun {
    bool committed = false;  // ran to its end and said so
    bool killed = false;
    QString output;
};

class KillTest : public ::testing::Test {
  protected:
    QTemporaryDir root;
    test::XSession x;
    std::atomic<int> programStarts_{0};
    std::mutex startMutex_;
    QString music() const { return root.path() + "/music/"; }

    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(x.ok()) << "Xvfb did not start";
        // Tiny WAV files: the add reads their names only.
        const QByteArray wav =
            QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) +
            QByteArray("\x10\0\0\0\1\0\1\0\x44\xac\0\0\x88\x58\1\0\2\0\x10\0", 20) +
            QByteArray("data\0\0\0\0", 8);
        for (int i = 0; i < 200; ++i) {
            test::writeFile(music() + QString("Song %1.wav").arg(i, 3, 10, QChar('0')), wav);
        }
        for (int i = 0; i < 20; ++i) {
            test::writeFile(music() + QString("Early %1.wav").arg(i, 2, 10, QChar('0')), wav);
        }
        for (int i = 0; i < 3; ++i) {
            test::writeFile(music() + QString("Other %1.wav").arg(i), wav);
        }
    }

    // Runs one step in `folder` (holding program/ with its Data/); killAt 0 counts the writes into
    // `writes` instead of killing.
    StepRun step(const QString& folder, const QString& name, long killAt = -1,
                 long* writes = nullptr) {
        QProcess driver;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (killAt >= 0) {
            env.insert("LD_PRELOAD", MARLO_KILL_SHIM);
            env.insert("MARLO_KILL_WATCH", folder + "/program/");
            env.insert("MARLO_KILL_AT", QString::number(killAt));
            env.insert("MARLO_KILL_COUNT", folder + "/writes.txt");
            // A sanitizer build's runtime must otherwise come first.
            env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        }
        driver.setProcessEnvironment(env);
        driver.setProcessChannelMode(QProcess::MergedChannels);
        driver.start(MARLO_KILL_DRIVER, {folder + "/program/", music(), name});
        EXPECT_TRUE(driver.waitForFinished(120000));
        StepRun run;
        run.output = QString::fromUtf8(driver.readAll());
        run.killed = driver.exitStatus() == QProcess::CrashExit;
        run.committed =
            !run.killed && driver.exitCode() == 0 && run.output.contains("committed " + name);
        if (writes != nullptr) {
            *writes =
                QString::fromLatin1(test::readFile(folder + "/writes.txt")).trimmed().toLong();
        }
        return run;
    }

    // What the next start finds; a fact set or, when the files do not open, nothing and a note.
    Facts facts(const QString& folder, QString* trouble) {
        const StepRun run = step(folder, "check");
        Facts found;
        for (const QString& line : run.output.split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith("settings ") || line.startsWith("skin") ||
                line.startsWith("collection ") || line.startsWith("item ")) {
                found.insert(line);
            }
            if (line.endsWith(" missing") || line == "settings <damaged>" ||
                line == "store unreadable") {
                *trouble += line + "; ";
            }
        }
        if (run.killed || !run.output.contains("collection ")) {
            *trouble += "check failed: " + run.output;
        }
        return found;
    }

    // Starts the real program on the folder left by a kill: it must reach its main window (a
    // damaged file would hold it at a message box first). The program is linked in, so the
    // folder is its program folder.
    QString programStarts(const QString& folder) {
        const QString program = folder + "/program/";
        if (::link(MARLO_EXECUTABLE, QFile::encodeName(program + "marlo").constData()) != 0) {
            return "could not lay out the program folder";
        }
        // One at a time: the window is found by its name.
        const std::lock_guard<std::mutex> one(startMutex_);
        QProcess marlo;
        QProcessEnvironment env = x.environment();
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        env.insert("HOME", root.path());
        env.insert("XDG_DATA_HOME", root.path() + "/xdg");
        marlo.setProcessEnvironment(env);
        marlo.start(program + "marlo", {});
        const bool shown = !x.waitForWindow("^Marlo$", 20000).isEmpty();
        marlo.kill();
        marlo.waitForFinished(5000);
        return shown ? QString() : "the program did not reach its main window";
    }

    static void copyTree(const QString& from, const QString& to) {
        QDir(to).removeRecursively();
        QDir().mkpath(to);
        for (const QFileInfo& entry :
             QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            const QString target = to + "/" + entry.fileName();
            if (entry.isSymLink()) {
                QFile::link(entry.symLinkTarget(), target);  // the pictures: linked, not copied
            } else if (entry.isDir()) {
                copyTree(entry.filePath(), target);
            } else {
                QFile::copy(entry.filePath(), target);
            }
        }
    }
};

TEST_F(KillTest, EveryWriteOfASessionMayBeTheLast) {
    const QString state = root.path() + "/state";
    QDir().mkpath(state + "/program/Data");
    // The skin register names the default pictures below the folder it is written in.
    ASSERT_TRUE(QFile::link(QFileInfo(QStringLiteral(MARLO_EXECUTABLE)).absolutePath() + "/Bilder",
                            state + "/program/Bilder"));
    ASSERT_TRUE(step(state, "setup").committed);

    int killPoints = 0;
    int losses = 0;
    for (const QString name :
         {"add", "rename", "delete", "second", "removecollection", "skinsave", "settings"}) {
        QString trouble;
        const Facts before = facts(state, &trouble);
        ASSERT_TRUE(trouble.isEmpty()) << trouble.toStdString();

        const QString reference = root.path() + "/reference";
        copyTree(state, reference);
        long writes = 0;
        ASSERT_TRUE(step(reference, name, 0, &writes).committed) << name.toStdString();
        const Facts after = facts(reference, &trouble);
        ASSERT_TRUE(trouble.isEmpty()) << trouble.toStdString();
        ASSERT_GT(writes, 0) << name.toStdString();
        // What the step leaves alone must survive any kill; what it changes may be either way,
        // but a changed fact (a renamed title, a settings line) keeps one of its two forms.
        const Facts kept = before & after;
        const Facts old = before - after;
        const Facts made = after - before;
        const bool replaces = !old.isEmpty() && !made.isEmpty();

        // One trial: the step killed at write n in a fresh copy; what went wrong, if anything.
        const auto trial = [&](long n) {
            const QString folder = root.path() + QString("/trial%1").arg(n % 2);
            copyTree(state, folder);
            const StepRun run = step(folder, name, n);
            QString problem;
            const Facts found = facts(folder, &problem);
            const Facts required = run.committed ? after : kept;
            // The real program starts on every 50th kill point's folder and on the last.
            if (problem.isEmpty() && (n % 50 == 0 || n == writes)) {
                problem += programStarts(folder);
                ++programStarts_;
            }
            if (!(found & required).contains(required) ||
                (replaces && !found.intersects(old + made))) {
                problem += "lost: " + QStringList((required - found).values()).join(", ");
            }
            return problem;
        };
        // Two trials at a time.
        for (long n = 1; n <= writes; n += 2) {
            auto second = std::async(std::launch::async, trial, n + 1);
            const QString problems[] = {trial(n),
                                        n + 1 <= writes ? second.get() : (second.get(), QString())};
            for (long k = 0; k < 2 && n + k <= writes; ++k) {
                ++killPoints;
                if (!problems[k].isEmpty()) {
                    ++losses;
                    ADD_FAILURE() << name.toStdString() << " killed at write " << n + k << " of "
                                  << writes << ": " << problems[k].left(2000).toStdString();
                }
            }
        }
        copyTree(reference, state);
    }
    std::cout << "kill points " << killPoints << ", losses " << losses << ", program started "
              << programStarts_ << " times" << std::endl;
    EXPECT_EQ(losses, 0);
}

}  // namespace
}  // namespace marlo
