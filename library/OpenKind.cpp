#include "library/OpenKind.h"

#include "library/CollectionFile.h"
#include "library/KindListFile.h"
#include "library/LibrarySession.h"

namespace marlo {

OpenKind::Outcome OpenKind::run(MediaKind kind, CollectionSelection selection) {
    LibrarySession& s = session_;
    if (kind != s.kind()) {
        s.chooser.reloadEntries = true;
    }
    s.chooser.setKind(kind);
    Outcome outcome;
    if (kind == MediaKind::CdAudio) {
        outcome.cdAudio = true;
        return outcome;
    }
    s.archive.clear();
    if (loadChooser()) {
        s.chooser.setText(chooseName(selection));
        loadCollection(s.chooser.text());
    }
    if (s.chooser.rememberedFromConfiguration) {
        s.playback.appendMany(s.archive.takeAll());
        s.chooser.rememberedIndex.reset();
        s.chooser.rememberedFromConfiguration = false;
        outcome.startPlayback = true;
    }
    outcome.archiveCount = s.archive.count();
    outcome.playbackCount = s.playback.count();
    return outcome;
}

bool OpenKind::loadChooser() {
    CollectionChooser& chooser = session_.chooser;
    if (!chooser.reloadEntries) {
        return true;
    }
    // Entries are replaced, not added to: a reload after a delete must not list names twice.
    chooser.setEntries({});
    QStringList names;
    if (!KindListFile(session_.paths.kindList(session_.kind())).read(names)) {
        return false;
    }
    chooser.setEntries(names);
    chooser.reloadEntries = false;
    return true;
}

QString OpenKind::chooseName(CollectionSelection selection) {
    CollectionChooser& chooser = session_.chooser;
    const int count = static_cast<int>(chooser.entries().size());
    if (selection == CollectionSelection::Current) {
        return chooser.text();
    }
    if (count == 0) {
        return {};
    }
    int index = chooser.rememberedIndex.value_or(0);
    if (selection == CollectionSelection::AfterDelete && index == count) {
        index = count - 1;
        chooser.rememberedIndex = index;
    }
    // An index from an old configuration may point past the list.
    if (index < 0 || index >= count) {
        index = 0;
    }
    return chooser.entries().at(index);
}

void OpenKind::loadCollection(const QString& name) {
    const QString path = session_.paths.collection(session_.kind(), name);
    QStringList titles;
    if (path.isEmpty() || !CollectionFile(path).read(titles)) {
        return;
    }
    session_.archive.addMany(titles);
}

}  // namespace marlo
