#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "skins/ShapeMask.h"
#include "skins/TransCtl.h"
#include "tests/support/SkinPictures.h"

namespace marlo {
namespace {

// The window beneath the button: counts the presses that reach it.
class Beneath : public QWidget {
  public:
    int presses = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class TransCtlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(200, 150);
        window.setAutoFillBackground(true);
        window.setPalette(QPalette(Qt::white));
        button = new TransCtl(&window);
        button->move(20, 30);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // A press and release at a point of the window, delivered as the window system would:
    // the widget under the point receives it.
    void click(QPoint inButton) {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, button->pos() + inButton);
    }

    QRgb shown(QPoint inButton) { return window.grab().toImage().pixel(button->pos() + inButton); }

    const QColor magenta{255, 0, 255};
    const QColor green{0, 160, 0};
    Beneath window;
    TransCtl* button = nullptr;
};

TEST_F(TransCtlTest, KeyColourFrameIsNeitherDrawnNorHit) {
    QSignalSpy down(button, &TransCtl::MouseDown);
    QSignalSpy changed(button, &TransCtl::propertyChanged);
    button->setMaskPicture(QPixmap::fromImage(test::framedPicture({40, 30}, green, magenta, 5)));
    EXPECT_EQ(button->size(), QSize(40, 30));
    EXPECT_EQ(changed.count(), 2);  // "MaskPicture" and "Picture"

    click({2, 2});  // on the magenta frame
    EXPECT_EQ(down.count(), 0);
    EXPECT_EQ(window.presses, 1);
    EXPECT_EQ(shown({2, 2}), QColor(Qt::white).rgb());

    click({20, 15});  // inside
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(window.presses, 1);
    EXPECT_EQ(down[0][0].toInt(), 1);  // left button
    EXPECT_FLOAT_EQ(down[0][2].toFloat(), 20);
    EXPECT_EQ(shown({20, 15}), green.rgb());
}

TEST_F(TransCtlTest, OneColourPictureIsNeverHitAndPlainPictureIsOpaqueAgain) {
    QSignalSpy down(button, &TransCtl::MouseDown);
    button->setMaskPicture(QPixmap::fromImage(test::framedPicture({40, 30}, green)));
    for (QPoint p : {QPoint(0, 0), QPoint(20, 15), QPoint(39, 29)}) {
        click(p);
        EXPECT_EQ(shown(p), QColor(Qt::white).rgb());
    }
    EXPECT_EQ(down.count(), 0);
    EXPECT_EQ(window.presses, 3);

    // The same framed picture, now plain: the frame is drawn and clickable.
    button->setMaskPicture(QPixmap::fromImage(test::framedPicture({40, 30}, green, magenta, 5)));
    button->setPicture(QPixmap::fromImage(test::framedPicture({60, 20}, green, magenta, 5)));
    EXPECT_EQ(button->size(), QSize(60, 20));  // takes the picture's size, never stretched
    click({1, 1});
    EXPECT_EQ(down.count(), 1);
    EXPECT_EQ(window.presses, 3);
    EXPECT_EQ(shown({1, 1}), magenta.rgb());
}

TEST(ShapeMask, RunsOfNonKeyPixelsAndCachePerPicture) {
    QImage image = test::framedPicture({8, 4}, Qt::black, Qt::white, 1);
    image.setPixel(0, 2, qRgb(1, 1, 1));  // differs from the key by one step
    const QRegion shape = ShapeMask::build(image);
    EXPECT_EQ(shape, QRegion(1, 1, 6, 2) + QRegion(0, 2, 1, 1));
    EXPECT_TRUE(ShapeMask::build(test::framedPicture({8, 4}, Qt::red)).isEmpty());

    ShapeMask::clearCache();
    const QPixmap picture = QPixmap::fromImage(image);
    EXPECT_EQ(ShapeMask::of(picture), shape);
    EXPECT_EQ(ShapeMask::of(QPixmap(picture)), shape);  // a copy shares the cache entry
    EXPECT_EQ(ShapeMask::cachedCount(), 1);
}

TEST(TransCtlDrawing, DoublePixelRatioRepeatsEachPixelWhole) {
    QImage checker(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(250, 10, 10) : qRgb(10, 10, 250));
        }
    }
    TransCtl button;
    button.setPicture(QPixmap::fromImage(checker));
    QImage target(8, 8, QImage::Format_RGB32);
    target.setDevicePixelRatio(2);
    target.fill(Qt::black);
    button.render(&target);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(target.pixel(x, y), checker.pixel(x / 2, y / 2)) << x << "," << y;
        }
    }
}

TEST(TransCtlProperties, DefaultsAndRestoreWithoutDrawing) {
    TransCtl button;
    const QVariantMap defaults = button.saveProperties();
    EXPECT_EQ(QStringList(defaults.keys()).size(), 10);
    for (const QString& name : TransCtl::storedNames()) {
        EXPECT_TRUE(defaults.contains(name)) << name.toStdString();
    }
    EXPECT_TRUE(defaults["Enabled"].toBool());
    EXPECT_TRUE(defaults["AutoRedraw"].toBool());
    EXPECT_TRUE(defaults["AutoSize"].toBool());
    EXPECT_EQ(defaults["ToolTipText"].toString(), "");

    QVariantMap stored = defaults;
    stored["BackStyle"] = 1;
    stored["ToolTipText"] = "tip";
    stored["Picture"] = QPixmap::fromImage(test::framedPicture({30, 30}, Qt::red));
    button.resize(5, 5);
    button.restoreProperties(stored);
    EXPECT_EQ(button.BackStyle(), 1);
    EXPECT_EQ(button.ToolTipText(), "tip");
    EXPECT_EQ(button.size(), QSize(5, 5));  // restoring draws and sizes nothing
    EXPECT_EQ(button.saveProperties()["BackStyle"].toInt(), 1);
}

}  // namespace
}  // namespace marlo
