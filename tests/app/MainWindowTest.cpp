#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/CompositionRoot.h"
#include "app/Marlo.h"
#include "base/Catalogue.h"
#include "library/AddFiles.h"
#include "player/PlaybackEngine.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo::test {
namespace {

// The main window of the program's own composition.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.makeData();
        root = std::make_unique<CompositionRoot>(folder.folders(), prompts);
        root->window().loadCollectionEditor(false);
        root->window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&root->window()));
    }
    void TearDown() override {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }

    TempProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<CompositionRoot> root;
};

TEST_F(MainWindowTest, ACloseDuringAnAddClosesTheWindowWhenTheAddEnds) {
    Marlo& window = root->window();
    {
        AddFiles::Running add;
        window.close();
        QCoreApplication::processEvents();
        EXPECT_TRUE(window.isVisible());  // the library is in use
        EXPECT_FALSE(window.shuttingDown());
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.shuttingDown());
}

TEST_F(MainWindowTest, AStartOfTheEngineKeepsTheBusyPointerOfAnAdd) {
    QApplication::setOverrideCursor(Qt::WaitCursor);  // as an add sets it
    PlaybackEngine* engine = root->engine();
    ASSERT_NE(engine, nullptr);
    // Every start reports its end, also one that never said it was busy.
    emit engine->busyChanged(false);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    emit engine->busyChanged(true);
    emit engine->busyChanged(true);
    emit engine->busyChanged(false);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, AReadmeTheDesktopCannotOpenIsToldWithItsPlace) {
    // The offscreen test platform opens no address, as a desktop without an opener.
    Catalogue::setLanguage(UiLanguage::English);
    root->window().openReadme(folder.program() + "readme.txt");
    Catalogue::setLanguage(UiLanguage::German);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Read me");
    EXPECT_TRUE(prompts.shown[0].text.endsWith("\n" + folder.program() + "readme.txt"));
}

}  // namespace
}  // namespace marlo::test
