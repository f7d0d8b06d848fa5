#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/CompositionRoot.h"
#include "app/Marlo.h"
#include "base/Catalogue.h"
#include "library/Musikform.h"
#include "platform/archive/ZipStore.h"
#include "tests/support/CdImage.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

namespace marlo::test {

// The program's own composition (every route, the CD source, the editors) over a temporary
// program folder whose CD drive is a two-track CUE image; English, the main window shown.
class ProgramRootFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        Catalogue::setLanguage(UiLanguage::English);
        folder.makeData();
        root = std::make_unique<CompositionRoot>(folder.folders(), prompts);
        root->setCdSource(writeToneImage(folder.program()));
        main().settings().email = QStringLiteral("joe@example.org");
        main().loadCollectionEditor(false);
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    }
    void TearDown() override {
        root.reset();
        Catalogue::setLanguage(UiLanguage::German);
    }

    Marlo& main() { return root->window(); }
    // The collection editor, opened by the main window's Open.
    Musikform& collection() {
        main().openCollectionEditor();
        Musikform* shown = main().collectionEditor();
        EXPECT_NE(shown, nullptr);
        return *shown;
    }
    static QWidget* topLevel(const QString& name) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name) {
                return window;
            }
        }
        return nullptr;
    }
    template <typename T = QWidget>
    static T* child(QWidget& window, const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void press(QWidget& window, const char* button) {
        child<QPushButton>(window, button)->click();
    }
    QByteArray member(const QString& name) const {
        return storedMember(folder.data() + "Marlo.zip", name);
    }

    TempProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<CompositionRoot> root;
};

}  // namespace marlo::test
