#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "app/CompositionRoot.h"
#include "app/Marlo.h"
#include "library/LibrarySession.h"
#include "library/Musikform.h"
#include "platform/TextCodec.h"
#include "player/PlaybackEngine.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo {
namespace {

// Files dropped on the main window's labels, as the window system hands them over.
class MarloDropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.makeData();
        Catalogue::setLanguage(UiLanguage::English);
        root = std::make_unique<CompositionRoot>(folder.folders(), prompts);
        window = &root->window();
        window->loadCollectionEditor(false);
    }
    void TearDown() override {
        root.reset();
        Catalogue::setLanguage(UiLanguage::German);
    }
    QString media(const QString& name) {
        return test::writeFile(folder.program() + "media/" + name, "data");
    }
    // Drag enter and drop on a widget; true when the drop was taken.
    bool dropOn(const char* widget, const QStringList& paths) {
        auto* target = window->findChild<QLabel*>(QString::fromLatin1(widget));
        EXPECT_NE(target, nullptr) << widget;
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls.append(QUrl::fromLocalFile(path));
        }
        data.setUrls(urls);
        const QPoint at(3, 3);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
    QStringList lines(const QString& name) const {
        QStringList result =
            decodeText(test::readFile(folder.data() + name)).split(QStringLiteral("\r\n"));
        result.removeAll(QString());
        return result;
    }

    test::TempProgramFolder folder;
    test::ScriptedPrompts prompts;
    std::unique_ptr<CompositionRoot> root;
    Marlo* window = nullptr;
};

TEST_F(MarloDropTest, FilesDroppedOnALabelFillTheAutoCollectionAndThePlaybackList) {
    window->show();
    // An editor made before the drop shows the collection the drop filled.
    Musikform* editor = window->collectionEditor();
    ASSERT_NE(editor, nullptr);
    const QString sub = folder.program() + "media/sub";
    QDir().mkpath(sub);
    EXPECT_TRUE(dropOn("Titel", {media("first.wav"), sub, media("third.wav")}));
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{"Directories can't be entered into the database!"});
    EXPECT_EQ(lines("aAuto collection.dat"), QStringList{"First"});

    prompts.shown.clear();
    EXPECT_TRUE(dropOn("Posit", {media("second.mp3")}));
    EXPECT_EQ(lines("aAuto collection.dat"), (QStringList{"First", "Second"}));
    // The titles of this drop first, then the rest of the Auto collection.
    EXPECT_EQ(window->library()->playback.titles(), (QStringList{"Second", "First"}));
    EXPECT_EQ(editor->findChild<QComboBox*>("Kombi1")->currentText(), "Auto collection");

    // Text without file names is not taken.
    QMimeData text;
    text.setText("words");
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

// A drop that is refused still stops playback with the viewer closed: a picture on screen,
// full screen perhaps, would otherwise stay there.
TEST_F(MarloDropTest, ARefusedDropClosesThePictureOnScreen) {
    LibrarySession& library = *window->library();
    const QString picture = folder.program() + "media/red.png";
    QDir().mkpath(folder.program() + "media");
    QImage red(32, 24, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(picture));
    library.chooser.setKind(MediaKind::Pictures);
    library.store.putItemRecord({MediaKind::Pictures, "Red", picture, {}, {}});
    ASSERT_TRUE(library.store.commit());
    library.playback.append("Red");
    window->show();
    root->engine()->beginPlayback();
    QWidget* viewer = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QWidget* shown : QApplication::topLevelWidgets()) {
                if (shown->objectName() == "DisplayPic" && shown->isVisible()) {
                    viewer = shown;
                }
            }
            return viewer != nullptr;
        },
        3000));
    EXPECT_TRUE(dropOn("Titel", {media("songs.zip")}));
    EXPECT_EQ(prompts.messageTexts(), QStringList{"Filetype not supported!"});
    EXPECT_FALSE(viewer->isVisible());
}

}  // namespace
}  // namespace marlo
