#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "base/CaptionSwitch.h"
#include "library/Editierform.h"
#include "library/OpenKind.h"
#include "tests/library/LibraryFixture.h"

namespace marlo::test {
namespace {

QByteArray taggedMp3(const QByteArray& title, const QByteArray& artist) {
    QByteArray tag = "TAG" + title.leftJustified(30, ' ') + artist.leftJustified(30, ' ');
    return QByteArray(300, 'a') + tag.leftJustified(128, '\0');
}

class EditierformTest : public LibraryFixture {
  protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        CaptionSwitch::resetForTests();
        form = std::make_unique<Editierform>(*session, settings);
    }
    void TearDown() override {
        form.reset();
        LibraryFixture::TearDown();
    }
    template <typename T>
    T* child(const char* name) {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString media(const QString& name, const QByteArray& bytes = "data") {
        return writeFile(folder.program() + "/media/" + name, bytes);
    }
    void chooseAction(int index) {
        auto* combo = child<QComboBox>("Combo2");
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    Settings settings;
    std::unique_ptr<Editierform> form;
};

TEST_F(EditierformTest, NewItemFromTheFileDialogIsSavedIntoTheCollection) {
    writeLines("Audio.dat", {"Rock"});
    session->chooser.setText("Rock");
    const QString song = media("tagged.mp3", taggedMp3("Tag Title", "Tag Artist"));
    QSignalSpy handedBack(form.get(), &Editierform::handedBack);

    form->open(Editierform::Mode::NewItem);
    EXPECT_TRUE(form->isVisible());
    auto* combo = child<QComboBox>("Combo2");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "Add file");
    EXPECT_EQ(combo->itemText(1), "Add Dir");
    EXPECT_EQ(combo->itemText(2), "Extensions");

    prompts.files.push_back({song});
    chooseAction(0);
    EXPECT_EQ(prompts.shown.last().title, "Choose multimedia file");
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), "Tag Title");
    EXPECT_EQ(child<QLineEdit>("Text2")->text(), song);
    EXPECT_EQ(child<QLineEdit>("Text3")->text(), "Tag Artist");
    EXPECT_EQ(settings.lastFolderAudio, folder.program() + "/media/");
    EXPECT_TRUE(settings.lastFolderVideo.isEmpty());

    child<QLineEdit>("Text1")->setText("My Choice");
    QTest::mouseClick(child<QPushButton>("Befehl1"), Qt::LeftButton);
    EXPECT_EQ(linesOf("aRock.dat"), QStringList{"My Choice"});
    EXPECT_TRUE(memberOnDisk("a_My Choice").contains("Interpret=Tag Artist"));
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(handedBack.size(), 1);
    EXPECT_FALSE(handedBack[0][0].toBool());
    EXPECT_TRUE(child<QLineEdit>("Text1")->text().isEmpty());
}

TEST_F(EditierformTest, EditRenamesWithEnterAndAnEmptyTitleKeepsTheEditorOpen) {
    seedCollection("Rock", {"Old Song", "Other"});
    OpenKind(*session).run(MediaKind::Audio, CollectionSelection::Start);
    session->playback.append(session->archive.takeAt(0));  // "Old Song"
    session->playback.setSelectedIndex(0);

    form->open(Editierform::Mode::Edit, "Old Song");
    auto* combo = child<QComboBox>("Combo2");
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentText(), "Add file");
    auto* title = child<QLineEdit>("Text1");
    EXPECT_EQ(title->text(), "Old Song");
    EXPECT_EQ(child<QLineEdit>("Text2")->text(), "/old/Old Song.wav");
    EXPECT_EQ(child<QLineEdit>("Text3")->text(), "Old");

    title->clear();
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_EQ(prompts.messageTitles(), QStringList{"Enter title!"});
    EXPECT_TRUE(form->isVisible());

    title->setText("New Song");
    QTest::keyClick(child<QLineEdit>("Text3"), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"Other", "New Song"}));
    EXPECT_EQ(membersOnDisk(), (QStringList{"a_New Song", "a_Other"}));
    EXPECT_FALSE(session->archive.titles().contains("Old Song"));
    EXPECT_FALSE(session->playback.titles().contains("Old Song"));
}

TEST_F(EditierformTest, CancelRemovesACollectionThatStayedEmpty) {
    writeLines("Audio.dat", {"Rock", "Fresh"});
    writeLines("aRock.dat", {"Kept"});
    session->chooser.setEntries({"Rock", "Fresh"});
    session->chooser.setText("Fresh");
    session->chooser.rememberedIndex = 1;
    session->chooser.reloadEntries = false;
    QSignalSpy handedBack(form.get(), &Editierform::handedBack);

    form->open(Editierform::Mode::NewItem);
    child<QLineEdit>("Text1")->setText("typed");
    QTest::mouseClick(child<QPushButton>("Befehl2"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(linesOf("Audio.dat"), QStringList{"Rock"});
    EXPECT_EQ(session->chooser.text(), "Rock");
    EXPECT_EQ(session->archive.titles(), QStringList{"Kept"});
    ASSERT_EQ(handedBack.size(), 1);
    EXPECT_TRUE(handedBack[0][0].toBool());
    EXPECT_TRUE(form->itemEditor().fields.title.isEmpty());

    // With items in the collection Cancel removes nothing.
    form->open(Editierform::Mode::NewItem);
    QTest::mouseClick(child<QPushButton>("Befehl2"), Qt::LeftButton);
    EXPECT_EQ(linesOf("Audio.dat"), QStringList{"Rock"});
    EXPECT_FALSE(handedBack[1][0].toBool());
}

TEST_F(EditierformTest, AFileDroppedOnThePathFieldIsRead) {
    form->open(Editierform::Mode::NewItem);
    auto* path = child<QLineEdit>("Text2");
    // The ending compares case-sensitively here: a tagged .MP3 is named by its file name.
    const QString song = media("02 - my song.MP3", taggedMp3("Ignored", "Nobody"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(song)});
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(path, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(path, &drop);
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), "02 - My Song");
    EXPECT_EQ(path->text(), song);
    EXPECT_TRUE(child<QLineEdit>("Text3")->text().isEmpty());

    // Text alone is no file.
    QMimeData text;
    text.setText("just words");
    QDragEnterEvent textEnter(QPoint(2, 2), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(path, &textEnter);
    EXPECT_FALSE(textEnter.isAccepted());
}

TEST_F(EditierformTest, AddDirAddsTheChosenFolderAndHandsBack) {
    writeLines("Audio.dat", {"Rock"});
    session->chooser.setText("Rock");
    media("dir/one.wav");
    media("dir/two.gif");
    QSignalSpy handedBack(form.get(), &Editierform::handedBack);
    form->open(Editierform::Mode::NewItem);
    prompts.folders.push_back(folder.program() + "/media/dir");
    chooseAction(1);
    EXPECT_EQ(linesOf("aRock.dat"), QStringList{"One"});
    EXPECT_EQ(handedBack.size(), 1);
    EXPECT_FALSE(form->isVisible());

    // The extensions window's choice narrows the next folder add.
    media("dir/three.mp3");
    media("dir/four.wav");
    form->extensionFilter().append({"*.mp3"});
    form->open(Editierform::Mode::NewItem);
    prompts.folders.push_back(folder.program() + "/media/dir");
    chooseAction(1);
    EXPECT_EQ(linesOf("aRock.dat"), (QStringList{"One", "Three"}));
}

TEST_F(EditierformTest, ALongAddShowsItsCountAndRefusesEverythingElseMeanwhile) {
    writeLines("Audio.dat", {"Rock"});
    session->chooser.setText("Rock");
    constexpr int kFiles = 600;
    for (int i = 0; i < kFiles; ++i) {
        media(QStringLiteral("many/song %1.wav").arg(i, 4, 10, QLatin1Char('0')));
    }
    form->open(Editierform::Mode::NewItem);
    auto* progress = child<QLabel>("Progress");
    QSignalSpy handedBack(form.get(), &Editierform::handedBack);

    // A timer runs while the add lets events through: it sees the count and the busy pointer,
    // and what it tries (Cancel, closing the window, another action) must wait for the add.
    QStringList seen;
    bool busyPointer = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!form->busy()) {
            return;
        }
        if (progress->isVisible()) {
            seen.append(progress->text());
        }
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busyPointer = busyPointer || (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        child<QPushButton>("Befehl2")->click();
        form->close();
        chooseAction(1);
    });
    watcher.start(0);
    prompts.folders.push_back(folder.program() + "/media/many");
    chooseAction(1);
    watcher.stop();

    EXPECT_EQ(linesOf("aRock.dat").size(), kFiles);
    EXPECT_EQ(linesOf("Audio.dat"), QStringList{"Rock"});
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.first(), "0 files added");
    EXPECT_TRUE(busyPointer);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(handedBack.size(), 1);      // from the add, none from a Cancel
    EXPECT_EQ(prompts.shown.count(), 1);  // one folder browser
}

TEST_F(EditierformTest, DialogFiltersListEveryPatternInQtForm) {
    const QStringList audio = Editierform::dialogFilter(MediaKind::Audio).split(";;");
    ASSERT_EQ(audio.size(), 9);
    EXPECT_EQ(audio.first(),
              "All supported file types (*.wav *.mid *.ra *.au *.snd *.mp2 *.mp3 *.mod *.xm "
              "*.it *.s3m *.zip *.rar *.ace)");
    EXPECT_EQ(audio.at(6), "Module Files (*.mod *.xm *.it *.s3m)");
    EXPECT_TRUE(audio.at(7).startsWith("Music files (*.flac *.ogg *.oga *.opus "));
    EXPECT_TRUE(audio.at(7).contains(" *.m4a ") && audio.at(7).contains(" *.mptm "));
    EXPECT_EQ(audio.last(), "Zip, Rar or Ace compressed (*.zip *.rar *.ace)");
    const QStringList video = Editierform::dialogFilter(MediaKind::Video).split(";;");
    EXPECT_TRUE(video.contains("Animation (*.fli *.flc *.aas)"));
    Catalogue::setLanguage(UiLanguage::German);
    EXPECT_TRUE(Editierform::dialogFilter(MediaKind::Pictures)
                    .endsWith("Zip, Rar oder Ace komprimert (*.zip *.rar *.ace)"));
}

// Designed German; the caption switch gives every caption its English text, the timer label too.
TEST_F(EditierformTest, CaptionSwitchSetsTheEnglishCaptions) {
    const struct {
        const char* widget;
        const char* german;
        const char* english;
    } labels[] = {{"Bezeichnung1", "Titel:", "Title:"},
                  {"Bezeichnung3", "Interpret(in):", "Artist:"},
                  {"Label4", "Systemtimer:", "System timer:"}};
    for (const auto& l : labels) {
        auto* label = form->findChild<QLabel*>(l.widget);
        ASSERT_NE(label, nullptr) << l.widget;
        EXPECT_EQ(label->text().toStdString(), l.german);
    }
    form->applyEnglishCaptions();
    for (const auto& l : labels) {
        EXPECT_EQ(form->findChild<QLabel*>(l.widget)->text().toStdString(), l.english);
    }
    EXPECT_EQ(form->windowTitle(), "Edit item");
}

}  // namespace
}  // namespace marlo::test
