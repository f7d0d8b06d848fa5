// Library scale: adding many items through the batch path, reading one record from a large
// store, opening a large collection. Prints one "name=value" line per figure.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

#include "library/CollectionFile.h"
#include "library/ItemEditor.h"
#include "library/ItemRecord.h"
#include "library/KindListFile.h"
#include "library/LibrarySession.h"
#include "library/OpenKind.h"
#include "library/SaveItem.h"
#include "platform/Prompts.h"
#include "platform/archive/ZipStore.h"

namespace {

using namespace marlo;

QString titleOf(int i) {
    return QStringLiteral("Song %1").arg(i, 6, 10, QLatin1Char('0'));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Seconds to add `count` items to an empty library, as adding a folder does.
double addItems(int count) {
    QTemporaryDir dir;
    UnattendedPrompts prompts;
    LibrarySession session(dir.path(), prompts);
    ItemEditor editor(session);
    KindListFile(session.paths.kindList(MediaKind::Audio)).append(QStringLiteral("Bench"));
    session.chooser.setText(QStringLiteral("Bench"));
    QElapsedTimer timer;
    timer.start();
    {
        SaveBatch batch(session.writer);
        for (int i = 0; i < count; ++i) {
            editor.fields.title = titleOf(i);
            editor.fields.path = QStringLiteral("/music/folder/%1.mp3").arg(titleOf(i));
            editor.fields.artist = QStringLiteral("Artist %1").arg(i % 100);
            SaveItem(editor).run();
        }
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (prompts.messagesShown() != 0 || session.store.memberCount() != count) {
        QTextStream(stderr) << "adding went wrong\n";
    }
    return seconds;
}

double readItemMedianMs(int storeSize, int reads) {
    QTemporaryDir dir;
    UnattendedPrompts prompts;
    LibrarySession session(dir.path(), prompts);
    ItemEditor editor(session);
    {
        ZipStore store(session.paths.store());
        store.open();
        for (int i = 0; i < storeSize; ++i) {
            const MediaItem item{MediaKind::Audio, titleOf(i), QStringLiteral("/m/x.mp3"),
                                 QStringLiteral("A"), QStringLiteral("mp3")};
            const QString member = LibraryPaths::memberName(MediaKind::Audio, item.title);
            store.put(member, ItemRecord::compose(member, item));
        }
        store.commit();
    }
    session.store.ReadItem(MediaKind::Audio, titleOf(0));  // opening reads the index once
    std::vector<double> times;
    auto* random = QRandomGenerator::global();
    for (int n = 0; n < reads; ++n) {
        const QString title = titleOf(static_cast<int>(random->bounded(storeSize)));
        QElapsedTimer timer;
        timer.start();
        const MediaItem item = session.store.ReadItem(MediaKind::Audio, title);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (item.title != title) {
            QTextStream(stderr) << "read went wrong\n";
        }
    }
    return median(times);
}

double openCollectionMedianMs(int titles, int runs) {
    QTemporaryDir dir;
    UnattendedPrompts prompts;
    QStringList lines;
    for (int i = 0; i < titles; ++i) {
        // Not in sorted order, as a collection file grows.
        lines << titleOf(static_cast<int>((static_cast<qint64>(i) * 7919) % titles));
    }
    const LibraryPaths paths(dir.path());
    KindListFile(paths.kindList(MediaKind::Audio)).append(QStringLiteral("Big"));
    CollectionFile(paths.collection(MediaKind::Audio, QStringLiteral("Big"))).rewrite(lines);
    std::vector<double> times;
    for (int n = 0; n < runs; ++n) {
        LibrarySession session(dir.path(), prompts);
        ItemEditor editor(session);
        QElapsedTimer timer;
        timer.start();
        const auto outcome = OpenKind(session).run(MediaKind::Audio, CollectionSelection::Start);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (outcome.archiveCount != titles) {
            QTextStream(stderr) << "open went wrong\n";
        }
    }
    return median(times);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    addItems(500);  // first use of the file system and libraries, not part of the figures
    // Medians of a few runs: one rewrite ends each run and its disk flush varies.
    const double add5k = median({addItems(5000), addItems(5000), addItems(5000)});
    out << "add_5k_s=" << add5k << Qt::endl;
    const double add10k = median({addItems(10000), addItems(10000), addItems(10000)});
    out << "add_10k_s=" << add10k << Qt::endl;
    out << "add_ratio=" << add10k / add5k << Qt::endl;
    out << "read_item_median_ms=" << readItemMedianMs(100000, 1000) << Qt::endl;
    out << "open_collection_10k_ms=" << openCollectionMedianMs(10000, 9) << Qt::endl;
    return 0;
}
