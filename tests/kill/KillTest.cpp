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

#include "tests/support/TestFolders.h"

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
    QString music() const { return root.path() + "/music/"; }

    void SetUp() override {
        ASSERT_TRUE(root.isValid());
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
        QImage strip(40, 10, QImage::Format_RGB32);
        strip.fill(Qt::blue);
        ASSERT_TRUE(strip.save(music() + "strip.bmp"));
    }

    // Runs one step in `folder` (holding program/ and data/); killAt 0 counts the writes into
    // `writes` instead of killing.
    StepRun step(const QString& folder, const QString& name, long killAt = -1,
                 long* writes = nullptr) {
        QProcess driver;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (killAt >= 0) {
            env.insert("LD_PRELOAD", MARLO_KILL_SHIM);
            env.insert("MARLO_KILL_WATCH", folder + "/program/:" + folder + "/data/");
            env.insert("MARLO_KILL_AT", QString::number(killAt));
            env.insert("MARLO_KILL_COUNT", folder + "/writes.txt");
            // A sanitizer build's runtime must otherwise come first.
            env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        }
        driver.setProcessEnvironment(env);
        driver.setProcessChannelMode(QProcess::MergedChannels);
        driver.start(MARLO_KILL_DRIVER, {folder + "/program/", folder + "/data/", music(), name});
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

    static void copyTree(const QString& from, const QString& to) {
        QDir(to).removeRecursively();
        QDir().mkpath(to);
        for (const QFileInfo& entry :
             QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            const QString target = to + "/" + entry.fileName();
            if (entry.isDir()) {
                copyTree(entry.filePath(), target);
            } else {
                QFile::copy(entry.filePath(), target);
            }
        }
    }
};

TEST_F(KillTest, EveryWriteOfASessionMayBeTheLast) {
    const QString state = root.path() + "/state";
    QDir().mkpath(state + "/program");
    QDir().mkpath(state + "/data");
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
    std::cout << "kill points " << killPoints << ", losses " << losses << std::endl;
    EXPECT_EQ(losses, 0);
}

}  // namespace
}  // namespace marlo
