#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QThread>
#include <iostream>

#include "library/ItemStore.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/support/AudioAnalysis.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// A song of 12 s with an ".lrc" of four lines 3 s apart beside it, the only item of the
// collection the program opens, nothing playing at the start. The screenshots are kept in the
// build folder for a person to look at.
class LyricsE2e : public test::ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        const QString media = dir.path() + "/media/";
        QDir().mkpath(media);
        QDir().mkpath(program + "Data");
        test::writeSineWav(media + "sung.wav", 440, 12000);
        test::writeFile(media + "sung.lrc",
                        "[ti:Sung]\n[00:00.00]First line\n[00:03.00]Second line\n"
                        "[00:06.00]Third line\n[00:09.00]Fourth line\n");
        test::ScriptedPrompts prompts;
        ItemStore store(program + "Data/Marlo.zip", prompts);
        store.putItemRecord({MediaKind::Audio, "Sung", media + "sung.wav", "Choir", ""});
        ASSERT_TRUE(store.commit());
        test::writeFile(program + "Data/Audio.dat", "Mix\r\n");
        test::writeFile(program + "Data/aMix.dat", "Sung\r\n");
        test::writeFile(
            program + "Set.cfg",
            "0\r\n0\r\n-1\r\n-1\r\n0\r\n0\r\n1500\r\n1500\r\n0|0\r\n12\r\n0\r\n0\r\n1\r\n"
            "0\r\n0\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\nStandard\r\n\r\n-1\r\n");
        test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
    }

    QImage screenshot(const QRect& area) const {
        QProcess import;
        import.setProcessEnvironment(x.environment());
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        import.waitForFinished(15000);
        return QImage::fromData(import.readAllStandardOutput(), "PNG").copy(area);
    }

    // The middle row of the band drawn in the highlight colour (the lit line); -1 for none.
    static int litRow(const QImage& shot) {
        int first = -1, last = -1;
        for (int y = 0; y < shot.height(); ++y) {
            int coloured = 0;
            for (int x = 0; x < shot.width(); ++x) {
                coloured += QColor(shot.pixel(x, y)).hsvSaturation() > 100 ? 1 : 0;
            }
            if (coloured > shot.width() / 3) {
                first = first < 0 ? y : first;
                last = y;
            }
        }
        return first < 0 ? -1 : (first + last) / 2;
    }

    // The position bar of a playing item: the row with the most of its red fill, from the fill's
    // left end to the end of the track beside the fill.
    static QRect positionBar(const QImage& shot) {
        const auto red = [&](int x, int y) {
            const QColor c(shot.pixel(x, y));
            return c.red() > 180 && c.green() < 80 && c.blue() < 80;
        };
        int bestRow = -1, bestCount = 0;
        for (int y = 0; y < shot.height(); ++y) {
            int count = 0;
            for (int x = 0; x < shot.width(); ++x) {
                count += red(x, y) ? 1 : 0;
            }
            if (count > bestCount) {
                bestCount = count;
                bestRow = y;
            }
        }
        if (bestRow < 0) {
            return {};
        }
        int left = 0;
        while (!red(left, bestRow)) {
            ++left;
        }
        int right = left;
        while (right + 1 < shot.width() && red(right + 1, bestRow)) {
            ++right;
        }
        const QRgb track = shot.pixel(right + 1, bestRow);
        while (right + 1 < shot.width() && shot.pixel(right + 1, bestRow) == track) {
            ++right;
        }
        return QRect(QPoint(left, bestRow), QPoint(right, bestRow));
    }
};

TEST_F(LyricsE2e, TheLitLineFollowsTheSongAndASeek) {
    start();
    const QString main = x.waitForWindow(QStringLiteral("^Marlo$"));
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    const QRect g = x.geometry(main);
    QThread::msleep(500);

    // "Display Lyrics" is two steps up from none in the popup menu.
    x.xdotool({QStringLiteral("mousemove"), QString::number(g.right() - 8),
               QString::number(g.top() + 8), QStringLiteral("click"), QStringLiteral("3")});
    QThread::msleep(700);
    for (const char* key : {"Up", "Up", "Return"}) {
        x.xdotool({QStringLiteral("key"), QString::fromLatin1(key)});
        QThread::msleep(150);
    }
    const QString lyrics = x.waitForWindow(QStringLiteral("^Lyrics Displayer - Sung$"));
    ASSERT_FALSE(lyrics.isEmpty()) << "the lyrics window did not appear";
    QThread::msleep(300);
    const QRect area = x.geometry(lyrics);
    const QString folder = QStringLiteral(MARLO_PROGRAM_DIR) + "/../screenshots";
    QDir().mkpath(folder);

    x.key(main, QStringLiteral("space"));
    QThread::msleep(1500);
    const QImage first = screenshot(area);
    first.save(folder + "/lyrics_1_at1.5s.png");
    QThread::msleep(3000);
    const QImage second = screenshot(area);
    second.save(folder + "/lyrics_2_at4.5s.png");

    const int rows[] = {litRow(first), litRow(second)};
    std::cout << "lit rows at 1.5 s and 4.5 s: " << rows[0] << ", " << rows[1] << std::endl;
    ASSERT_GE(rows[0], 0) << "no line lit at 1.5 s";
    const int line = rows[1] - rows[0];  // one line further at 4.5 s
    ASSERT_GT(line, 5) << "the lit line did not move on";

    // A click on the position bar at 10 s of 12.
    const QRect bar = positionBar(screenshot(g));
    ASSERT_GT(bar.width(), 50) << "no position bar found";
    x.click(g.left() + bar.left() + bar.width() * 10 / 12, g.top() + bar.top());
    QThread::msleep(700);
    const QImage fourth = screenshot(area);
    fourth.save(folder + "/lyrics_3_after_seek_to_10s.png");
    std::cout << "lit row after the seek: " << litRow(fourth) << std::endl;
    EXPECT_NEAR(litRow(fourth) - rows[0], 3 * line, 3);
    x.key(main, QStringLiteral("alt+F4"));
    marlo.waitForFinished(10000);
}

}  // namespace
}  // namespace marlo
