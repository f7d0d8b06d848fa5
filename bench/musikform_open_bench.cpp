// Opens a collection of 10,000 titles in the collection editor window (offscreen) and prints the
// median time from choosing it in the chooser to the window having painted the lists, and the
// median time to create and show the window over an already open collection of that size.
//
//   musikform_open_bench [runs]      (default 15)

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "library/CollectionFile.h"
#include "library/KindListFile.h"
#include "library/LibrarySession.h"
#include "library/Musikform.h"
#include "library/OpenKind.h"
#include "platform/ProgramFolders.h"
#include "platform/Prompts.h"

using namespace marlo;

namespace {

constexpr int kTitles = 10000;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Kind list {Small, Big}; Big lists 10,000 titles in random order, each with its record.
void buildLibrary(LibrarySession& session) {
    QStringList titles;
    for (int i = 0; i < kTitles; ++i) {
        titles.append(QStringLiteral("Artist %1 - Song number %2").arg(i % 97).arg(i));
    }
    std::shuffle(titles.begin(), titles.end(), *QRandomGenerator::global());
    for (const QString& title : titles) {
        session.store.putItemRecord(
            {MediaKind::Audio, title, QStringLiteral("/music/") + title + ".mp3", {}, "mp3"});
    }
    session.store.commit();
    CollectionFile(session.paths.collection(MediaKind::Audio, "Big")).rewrite(titles);
    CollectionFile(session.paths.collection(MediaKind::Audio, "Small")).rewrite({"One"});
    const KindListFile kinds(session.paths.kindList(MediaKind::Audio));
    kinds.append("Small");
    kinds.append("Big");
}

void paint(QWidget& window) {
    QCoreApplication::processEvents();
    window.repaint();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;

    QTemporaryDir dir;
    const ProgramFolders folders = ProgramFolders::at(dir.path());
    QDir().mkpath(folders.data);
    UnattendedPrompts prompts;
    LibrarySession session(folders.data, prompts);
    buildLibrary(session);

    // Choosing the big collection in an open window.
    std::vector<double> choose;
    {
        OpenKind(session).run(MediaKind::Audio, CollectionSelection::Start);
        Musikform window(session, {});
        window.show();
        paint(window);
        auto* chooser = window.findChild<QComboBox*>("Kombi1");
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            emit chooser->activated(1);
            paint(window);
            choose.push_back(timer.nsecsElapsed() / 1e6);
            if (session.archive.count() != kTitles) {
                std::fprintf(stderr, "opened %d titles, not %d\n", session.archive.count(),
                             kTitles);
                return 1;
            }
            emit chooser->activated(0);
            paint(window);
        }
    }

    // Creating and showing the window over the open big collection.
    std::vector<double> create;
    CollectionEditor(session, {}).chooseCollection(1);
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        Musikform window(session, {});
        window.show();
        paint(window);
        create.push_back(timer.nsecsElapsed() / 1e6);
    }

    std::printf("open_collection_10k_ms=%.1f\n", median(choose));
    std::printf("create_window_over_10k_ms=%.1f\n", median(create));
    return 0;
}
