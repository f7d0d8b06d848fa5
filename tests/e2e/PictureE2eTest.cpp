// The picture viewer of the real program under Xvfb: where each picture's window goes, pictures
// larger than the screen (one beyond Qt's own reader), and Escape.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTest>

#include "library/ItemStore.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"
#include "tests/viewers/PngHalves.h"

namespace marlo {
namespace {

class PictureE2e : public test::ProgramFixture {
  protected:
    QImage screenshot() const {
        QProcess import;
        import.setProcessEnvironment(x.environment());
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        import.waitForFinished(15000);
        return QImage::fromData(import.readAllStandardOutput(), "PNG");
    }
    // The program's visible window other than the main window; empty when there is none.
    QString viewerWindow() const {
        const QString ids =
            x.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--pid"), QString::number(marlo.processId())});
        const QStringList main =
            x.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--name"), QStringLiteral("^Marlo$")})
                .split(QLatin1Char('\n'));
        for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QRect g = x.geometry(id);
            if (!main.contains(id) && g.width() > 1 && g.height() > 1) {
                return id;
            }
        }
        return {};
    }
    QRect viewer() const {
        const QString id = viewerWindow();
        return id.isEmpty() ? QRect() : x.geometry(id);
    }
};

// Red on the left half, blue on the right half of the screenshot's area.
bool showsHalves(const QImage& shot, const QRect& area) {
    const int y = area.center().y();
    const QColor left = shot.pixelColor(area.left() + 20, y);
    const QColor right = shot.pixelColor(area.right() - 20, y);
    return left.red() > 200 && left.blue() < 60 && right.blue() > 200 && right.red() < 60;
}

// A 4000 x 3000 picture, a small one, and one of 8000 x 6000 that Qt's reader refuses (192 MB):
// each window is centred on the screen, the large ones fill it with their middle in view, and
// Escape closes the viewer.
TEST_F(PictureE2e, EachPictureIsPlacedOnTheScreenAndEscapeClosesTheViewer) {
    const QString media = dir.path() + "/media/";
    QDir().mkpath(media);
    QImage large(4000, 3000, QImage::Format_RGB32);
    large.fill(Qt::red);
    QPainter(&large).fillRect(2000, 0, 2000, 3000, Qt::blue);
    ASSERT_TRUE(large.save(media + "large.png"));
    QImage small(320, 240, QImage::Format_RGB32);
    small.fill(Qt::green);
    ASSERT_TRUE(small.save(media + "small.png"));
    test::writePngHalves(media + "huge.png", 8000, 6000, false);

    QDir().mkpath(program + "Data");
    test::ScriptedPrompts prompts;
    ItemStore store(program + "Data/Marlo.zip", prompts);
    store.putItemRecord({MediaKind::Pictures, "A large", media + "large.png", "", ""});
    store.putItemRecord({MediaKind::Pictures, "B small", media + "small.png", "", ""});
    store.putItemRecord({MediaKind::Pictures, "C huge", media + "huge.png", "", ""});
    ASSERT_TRUE(store.commit());
    test::writeFile(program + "Data/Pics.dat", "Shots\r\n");
    test::writeFile(program + "Data/pShots.dat", "A large\r\nB small\r\nC huge\r\n");
    test::writeFile(program + "SkinName.ini", "Vantel's Design\r\nStandard\r\n");
    // The picture collection, Autoplay, a slideshow pause of 5 s (long enough to see each
    // picture on a loaded machine), no full screen, English.
    test::writeFile(program + "Set.cfg",
                    "0\r\n0\r\n-1\r\n-1\r\n0\r\n0\r\n1500\r\n1500\r\n3|0\r\n12\r\n1\r\n0\r\n0\r\n"
                    "1\r\n0\r\n0\r\n\r\n\r\n\r\n5\r\n0\r\nStandard\r\n\r\nTrue\r\n");
    start();

    const QRect screen(0, 0, 1024, 768);
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer() == screen; }, 15000))
        << "the large picture's window is at " << viewer().x() << "," << viewer().y();
    EXPECT_TRUE(QTest::qWaitFor([&] { return showsHalves(screenshot(), screen); }, 4000))
        << "not the large picture's middle";
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer() == QRect(352, 264, 320, 240); }, 9000))
        << "the small picture's window is not centred";
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer() == screen; }, 12000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return showsHalves(screenshot(), screen); }, 4000))
        << "the huge picture does not show";

    // The show would end by itself only a pause after this last picture.
    x.key(viewerWindow(), QStringLiteral("Escape"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer().isEmpty(); }, 4000))
        << "Escape did not close the viewer";
}

}  // namespace
}  // namespace marlo
