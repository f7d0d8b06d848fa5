#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "base/CaptionSwitch.h"
#include "base/Catalogue.h"
#include "library/ArchiveAccess.h"
#include "library/ExtensionFilter.h"
#include "library/Extensions.h"
#include "library/ZipListe.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

using namespace marlo;
using namespace marlo::test;

namespace {

template <typename T>
T* child(QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Input as a user gives it, through the application's event delivery (key events not taken
// by a widget travel on to its window, as they do for real keys).
void click(QWidget* widget, QPoint at) {
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

void clickRow(QListView* list, int row) {
    click(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
}

void clickButton(QPushButton* button) {
    click(button, button->rect().center());
}

void pressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void showAndSettle(QWidget& window) {
    window.show();
    QCoreApplication::processEvents();
}

// The chooser filled by the zip listing, shown.
struct Chooser {
    ScriptedPrompts prompts;
    ZipListe window;
    QList<QStringList> chosen;  // member name and title of every choice
    QListView* list = child<QListView>(window, "List1");

    Chooser() {
        QObject::connect(&window, &ZipListe::memberChosen,
                         [this](const QString& name, const QString& title) {
                             chosen.append({name, title});
                         });
        ArchiveAccess(prompts).ListZip(testdata("archives/zip/demo-dirs.zip"), window.members());
        showAndSettle(window);
    }
};

}  // namespace

TEST(ZipListe, CaptionsInBothLanguages) {
    ZipListe window;
    QLabel* label = child<QLabel>(window, "Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(window.objectName(), "ZipListe");
    EXPECT_EQ(window.windowTitle(), "Inhalt des Archives");
    EXPECT_EQ(label->text(), "Die zu entpackende Datei anclicken");
    window.applyEnglishCaptions();
    EXPECT_EQ(window.windowTitle(), "Contents of the archive");
    EXPECT_EQ(label->text(), "Choose one compressed file");
}

// Windows are made on first use; one made after the switch to English starts in English.
TEST(ZipListe, MadeAfterTheCaptionSwitchStartsInEnglish) {
    CaptionSwitch::resetForTests();
    CaptionSwitch::apply("ENGLISH");
    ZipListe chooser;
    ExtensionFilter filter;
    Extensions extensions(filter);
    CaptionSwitch::resetForTests();
    EXPECT_EQ(chooser.windowTitle(), "Contents of the archive");
    EXPECT_EQ(child<QLabel>(extensions, "Label1")->text(), "Select Extensions for search");
}

// A click hands over the member and its title (without its folders), empties the list, closes.
TEST(ZipListe, ClickChoosesMember) {
    Chooser c;
    ASSERT_EQ(c.list->model()->rowCount(), 8);
    ASSERT_EQ(c.window.members().stringList().at(5), "a/b/c.txt");
    clickRow(c.list, 5);
    ASSERT_EQ(c.chosen.count(), 1);
    EXPECT_EQ(c.chosen.at(0), QStringList({"a/b/c.txt", "C"}));
    EXPECT_TRUE(c.window.members().stringList().isEmpty());
    EXPECT_FALSE(c.window.isVisible());
    EXPECT_EQ(c.window.result(), QDialog::Accepted);
}

TEST(ZipListe, KeysChooseOrCancel) {
    Chooser c;
    c.list->setFocus();
    c.list->setCurrentIndex(c.list->model()->index(3, 0));
    pressKey(c.list, Qt::Key_Return);
    ASSERT_EQ(c.chosen.count(), 1);
    EXPECT_EQ(c.chosen.at(0), QStringList({"bar.txt", "Bar"}));
    EXPECT_FALSE(c.window.isVisible());

    Chooser cancelled;
    cancelled.list->setFocus();
    pressKey(cancelled.list, Qt::Key_Escape);
    EXPECT_FALSE(cancelled.window.isVisible());
    EXPECT_EQ(cancelled.window.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.chosen.count(), 0);
}

TEST(Extensions, CaptionsInBothLanguages) {
    ExtensionFilter filter;
    Extensions window(filter);
    QLabel* label = child<QLabel>(window, "Label1");
    QPushButton* okay = child<QPushButton>(window, "Command1");
    ASSERT_TRUE(label && okay);
    EXPECT_NE(window.findChild<QListWidget*>("List1"), nullptr);
    EXPECT_EQ(window.objectName(), "Extensions");
    EXPECT_EQ(window.windowTitle(), "Extensions");
    EXPECT_EQ(label->text(), "Nach diesen Dateitypen wird gesucht");
    EXPECT_EQ(okay->text(), "Okay");
    window.applyEnglishCaptions();
    EXPECT_EQ(window.windowTitle(), "Extensions");
    EXPECT_EQ(label->text(), "Select Extensions for search");
    EXPECT_EQ(okay->text(), "Okay");
}

// All patterns start selected; a click deselects one; Okay appends the rest in list order.
// A second Okay appends again, Escape changes nothing, a kind switch empties the filter.
TEST(Extensions, OkayAppendsChosenPatterns) {
    ExtensionFilter filter;
    Extensions window(filter);
    auto* list = window.findChild<QListWidget*>("List1");
    auto* okay = window.findChild<QPushButton*>("Command1");
    ASSERT_TRUE(list && okay);

    window.setKind(MediaKind::Pictures);
    showAndSettle(window);
    const QStringList pictures = ExtensionFilter::patternsFor(MediaKind::Pictures);
    ASSERT_EQ(list->count(), pictures.size());
    EXPECT_EQ(list->selectedItems().size(), pictures.size());
    for (int row = 1; row < list->count(); ++row) {
        clickRow(list, row);  // all but "*.bmp" off
    }
    clickButton(okay);
    EXPECT_EQ(filter.filter(), "*.bmp;");
    EXPECT_FALSE(window.isVisible());

    window.setKind(MediaKind::Video);
    showAndSettle(window);
    for (int row = 1; row < list->count(); ++row) {
        clickRow(list, row);
    }
    list->setFocus();
    pressKey(list, Qt::Key_Return);
    EXPECT_EQ(filter.filter(), "*.bmp;*.avi;");
    EXPECT_FALSE(window.isVisible());

    window.setKind(MediaKind::Audio);
    showAndSettle(window);
    pressKey(list, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(filter.filter(), "*.bmp;*.avi;");

    filter.reset();
    window.setKind(MediaKind::Audio);
    showAndSettle(window);
    clickButton(okay);
    EXPECT_EQ(filter.pattern(),
              ExtensionFilter::patternsFor(MediaKind::Audio).join(QLatin1Char(';')));
    EXPECT_TRUE(filter.pattern().startsWith(
        "*.wav;*.ra;*.au;*.snd;*.mod;*.xm;*.s3m;*.it;*.mp2;*.mp3;*.mid;*.flac;"));
}
