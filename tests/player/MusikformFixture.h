#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <memory>

#include "library/ItemEditorLauncher.h"
#include "library/KindListFile.h"
#include "library/Musikform.h"
#include "library/OpenKind.h"
#include "platform/TextCodec.h"
#include "platform/archive/ZipStore.h"
#include "tests/player/EngineFixture.h"

namespace marlo::test {

// Stands in for the item editor: records how it was opened.
struct RecordingLauncher : ItemEditorLauncher {
    int news = 0;
    int cds = 0;
    QStringList edits;
    void openNew(const QRect&) override { ++news; }
    void openEdit(const QString& title, const QRect&) override { edits.append(title); }
    void openCd(const QRect&) override { ++cds; }
};

// A library on disk, the engine over fake devices, and the collection editor window over them,
// driven through its widgets.
class MusikformFixture : public EngineFixture {
  protected:
    // Records (with their media files) and the collection file of a collection, and its line in
    // the kind list file.
    void seed(const QString& name, const QStringList& titles, MediaKind kind = MediaKind::Audio) {
        for (const QString& title : titles) {
            const QString path = media(title + (kind == MediaKind::Audio ? ".wav" : ".avi"));
            writeFile(path, "RIFF");
            session->store.putItemRecord({kind, title, path, "Artist", QString()});
        }
        ASSERT_TRUE(session->store.commit());
        writeLines(session->paths.collection(kind, name), titles);
        ASSERT_TRUE(KindListFile(session->paths.kindList(kind)).append(name));
    }
    static void writeLines(const QString& path, const QStringList& lines) {
        writeFile(path, joinLines(lines));
    }
    QStringList linesOf(const QString& path) const {
        QStringList lines = decodeText(readFile(path)).split(QStringLiteral("\r\n"));
        lines.removeAll(QString());
        return lines;
    }
    QString collectionPath(const QString& name) const {
        return session->paths.collection(session->kind(), name);
    }
    // Whether "Marlo.zip" on disk holds the title's record (a fresh reader, not the session).
    bool recordOnDisk(const QString& title) const {
        ZipStore store(session->paths.store());
        store.open();
        return store.contains(LibraryPaths::memberName(session->kind(), title));
    }

    // Opens the kind as start-up does and shows the window over it.
    void openWindow(MediaKind kind = MediaKind::Audio) {
        session->chooser.setKind(kind);
        OpenKind(*session).run(kind, CollectionSelection::Start);
        window =
            std::make_unique<Musikform>(*session, CollectionEditor::Player{&control, &settings},
                                        [this] { return draws.empty() ? 0.0 : takeDraw(); });
        window->setItemEditorLauncher(&launcher);
        window->setCdAccess([this] { return cdTracks; }, [this] { ++cdOpens; });
        window->setDropHandler([this](const QStringList& paths) { dropped = paths; });
        window->show();
        QCoreApplication::processEvents();
    }

    template <typename T = QWidget>
    T* widget(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* button) {
        QTest::mouseClick(widget<QPushButton>(button), Qt::LeftButton);
    }
    QPoint rowCentre(const char* list, int row) const {
        QListView* view = widget<QListView>(list);
        view->scrollTo(view->model()->index(row, 0));
        return view->visualRect(view->model()->index(row, 0)).center();
    }
    void clickRow(const char* list, int row) {
        QTest::mouseClick(widget<QListView>(list)->viewport(), Qt::LeftButton, {},
                          rowCentre(list, row));
    }
    // Delivered as the window system delivers a double-click: press, release, double-click,
    // release.
    void doubleClickRow(const char* list, int row) {
        QWidget* viewport = widget<QListView>(list)->viewport();
        const QPoint at = rowCentre(list, row);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                        QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const bool down = type != QEvent::MouseButtonRelease;
            QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::LeftButton,
                              down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
    }
    void key(const char* name, Qt::Key k) { QTest::keyClick(widget(name), k); }
    QString text(const char* label) const { return widget<QLabel>(label)->text(); }
    QStringList archive() const { return session->archive.titles(); }
    QStringList playlist() const { return session->playback.titles(); }
    // Plays a playback entry through the fake audio device.
    void playEntry(int row) {
        select(row);
        engine.play();
        ASSERT_TRUE(engine.state().playing);
    }

    double takeDraw() {
        const double d = draws.front();
        draws.pop_front();
        return d;
    }

    RecordingLauncher launcher;
    std::deque<double> draws;  // the random numbers "Random" draws, in order
    int cdTracks = 0;
    int cdOpens = 0;
    QStringList dropped;
    std::unique_ptr<Musikform> window;
};

}  // namespace marlo::test
