#include "library/LibrarySession.h"

#include <QHash>

#include "library/CollectionFile.h"

namespace marlo {

LibrarySession::LibrarySession(const QString& dataFolder, Prompts& prompts,
                               LibraryWriter::Clock clock)
    : paths(dataFolder),
      prompts(prompts),
      store(paths.store(), prompts),
      writer(store, prompts, std::move(clock)) {
    writer.setFailureHandler([this] { showWhatTheFilesHold(); });
}

void LibrarySession::showWhatTheFilesHold() {
    const QString path = currentCollectionPath();
    if (kind() == MediaKind::CdAudio || path.isEmpty()) {
        return;
    }
    QStringList lines;
    CollectionFile(path).read(lines);
    // How often each title is listed; the playback list keeps its entries that are listed, in
    // their order, and the archive list takes the rest.
    QHash<QString, int> listed;
    for (const QString& line : lines) {
        ++listed[line.toCaseFolded()];
    }
    for (int row = playback.count() - 1; row >= 0; --row) {
        int& count = listed[playback.titles().at(row).toCaseFolded()];
        if (count > 0) {
            --count;
        } else {
            playback.takeAt(row);
        }
    }
    QStringList rest;
    for (const QString& line : lines) {
        int& count = listed[line.toCaseFolded()];
        if (count > 0) {
            --count;
            rest.append(line);
        }
    }
    archive.clear();
    archive.addMany(rest);
}

}  // namespace marlo
