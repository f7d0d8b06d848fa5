#include "library/CollectionEditor.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

#include "base/WriteErrorText.h"
#include "base/texts/CollectionEditorTexts.h"
#include "base/texts/StartupTexts.h"
#include "library/CollectionFile.h"
#include "library/KindListFile.h"
#include "library/LibrarySession.h"
#include "library/PlayerControl.h"
#include "platform/Files.h"
#include "platform/Prompts.h"

namespace marlo {

namespace msg = texts::collectioneditor;

CollectionEditor::CollectionEditor(LibrarySession& session, Player player, RandomSource random,
                                   QObject* parent)
    : QObject(parent), session_(session), player_(player), random_(std::move(random)) {
    if (!random_) {
        random_ = [] { return QRandomGenerator::global()->generateDouble(); };
    }
}

MediaKind CollectionEditor::kind() const {
    return session_.kind();
}

QString CollectionEditor::playingEntry() const {
    if (player_.control == nullptr || !player_.control->isPlaying()) {
        return {};
    }
    const QString entry = player_.control->currentEntry();
    return session_.playback.titles().contains(entry) ? entry : QString();
}

// ---- Moving titles ------------------------------------------------------------------------

void CollectionEditor::addToPlayback(const QList<int>& archiveRows) {
    session_.playback.appendMany(session_.archive.takeRows(archiveRows));
}

void CollectionEditor::addAllToPlayback() {
    session_.playback.appendMany(session_.archive.takeAll());
}

bool CollectionEditor::returnToArchive(int playbackRow) {
    PlaybackList& playback = session_.playback;
    if (playbackRow < 0 || playbackRow >= playback.count()) {
        return false;
    }
    const QString playing = playingEntry();
    if (!playing.isEmpty() && playback.at(playbackRow) == playing) {
        return false;
    }
    session_.archive.add(playback.takeAt(playbackRow));
    return true;
}

void CollectionEditor::returnAllToArchive() {
    PlaybackList& playback = session_.playback;
    const QString playing = playingEntry();
    QStringList titles = playback.takeAll();
    if (!playing.isEmpty()) {
        titles.removeAt(titles.indexOf(playing));
        playback.append(playing);
        playback.setSelectedIndex(0);
    }
    session_.archive.addMany(titles);
}

void CollectionEditor::randomOrder() {
    // The draws of the one-by-one rule, made on a copy: the views see one change per list.
    QStringList remaining = session_.archive.titles();
    QStringList order;
    order.reserve(remaining.size());
    while (!remaining.isEmpty()) {
        const double r = std::clamp(random_(), 0.0, std::nextafter(1.0, 0.0));
        const auto index = static_cast<qsizetype>(std::floor(remaining.size() * r));
        order.append(remaining.takeAt(std::min(index, remaining.size() - 1)));
    }
    if (order.isEmpty()) {
        return;
    }
    session_.archive.clear();
    session_.playback.appendMany(order);
}

// ---- Kinds and collections ----------------------------------------------------------------

MediaKind CollectionEditor::nextKind(MediaKind kind) {
    switch (kind) {
        case MediaKind::Audio:
            return MediaKind::CdAudio;
        case MediaKind::CdAudio:
            return MediaKind::Video;
        case MediaKind::Video:
            return MediaKind::Pictures;
        case MediaKind::Pictures:
            break;
    }
    return MediaKind::Audio;
}

OpenKind::Outcome CollectionEditor::switchKind(MediaKind kind) {
    forgetChooser();
    session_.chooser.rememberedIndex.reset();
    session_.chooser.rememberedFromConfiguration = false;
    if (player_.control != nullptr) {
        player_.control->hideVolumeBars();
    }
    stopIfPlaying();
    // Both lists belong to the kind they were made from; OpenKind leaves them alone for CD audio.
    session_.archive.clear();
    session_.playback.clear();
    session_.chooser.setKind(kind);
    return open(CollectionSelection::Start);
}

OpenKind::Outcome CollectionEditor::chooseCollection(int index) {
    CollectionChooser& chooser = session_.chooser;
    if (index < 0 || index >= chooser.entries().size()) {
        return {};
    }
    session_.archive.clear();
    session_.playback.clear();
    stopIfPlaying();
    chooser.rememberedIndex = index;
    chooser.setText(chooser.entries().at(index));
    return open(CollectionSelection::Current);
}

bool CollectionEditor::newCollection(const QString& name) {
    QStringList names;
    if (KindListFile(session_.paths.kindList(kind())).read(names) &&
        names.contains(name, Qt::CaseSensitive)) {
        session_.prompts.inform(Catalogue::title(msg::kCollectionExists),
                                Catalogue::body(msg::kCollectionExists), PromptIcon::Information);
        return false;
    }
    return prepareNewItem(name);
}

bool CollectionEditor::createCollection(const QString& name) {
    if (!isUsableCollectionName(name)) {
        session_.prompts.inform(Catalogue::title(msg::kInvalidCollectionName),
                                Catalogue::body(msg::kInvalidCollectionName).arg(name),
                                PromptIcon::Error);
        return false;
    }
    CollectionChooser& chooser = session_.chooser;
    const QStringList entriesBefore = chooser.entries();
    const QString textBefore = chooser.text();
    const std::optional<int> rememberedBefore = chooser.rememberedIndex;
    chooser.addEntry(name);
    chooser.setText(name);
    chooser.rememberedIndex = chooser.currentIndex();
    session_.archive.clear();
    session_.playback.clear();
    // Appending creates the file when there is none.
    clearWriteFailure();
    if (!KindListFile(session_.paths.kindList(kind())).append(name)) {
        session_.prompts.message(QString(), writeErrorText(), PromptIcon::None, PromptButtons::Ok,
                                 PromptAnswer::Ok);
        // The collection was not made: the editor shows what the files still hold.
        chooser.setEntries(entriesBefore);
        chooser.setText(textBefore);
        chooser.rememberedIndex = rememberedBefore;
        if (!textBefore.isEmpty()) {
            open(CollectionSelection::Current);
        }
        return false;
    }
    storeSelection();
    return true;
}

bool CollectionEditor::prepareNewItem(const QString& typedName) {
    if (kind() == MediaKind::CdAudio) {
        return true;
    }
    QStringList names;
    KindListFile(session_.paths.kindList(kind())).read(names);
    QString name = typedName;
    if (name.isEmpty()) {
        stopIfPlaying();
        const int autoRow = KindListFile::findAutoCollection(names);
        name = autoRow >= 0 ? names.at(autoRow) : kAutoCollection;
    }
    // A name that cannot be a collection file is refused there, before the item editor opens.
    if (!names.contains(name, Qt::CaseSensitive) || !isUsableCollectionName(name)) {
        return createCollection(name);
    }
    // The item is saved into the collection the chooser names: that one must be the one shown.
    if (name != session_.chooser.text()) {
        const qsizetype row = session_.chooser.entries().indexOf(name);
        if (row >= 0) {
            chooseCollection(static_cast<int>(row));
        } else {
            session_.archive.clear();
            session_.playback.clear();
            stopIfPlaying();
            session_.chooser.setText(name);
            open(CollectionSelection::Current);
        }
    }
    return true;
}

QString CollectionEditor::prepareEdit() const {
    const PlaybackList& playback = session_.playback;
    if (kind() == MediaKind::CdAudio || playback.selectedIndex() < 0) {
        return {};
    }
    return playback.selectedTitle();
}

void CollectionEditor::listCdTracks(int trackCount, const CdInfo& info) {
    QStringList entries;
    for (int track = 1; track <= trackCount; ++track) {
        QString title;
        if (info.known && track <= info.tracks.size() &&
            !isNotPresent(info.tracks.at(track - 1).title)) {
            title = info.tracks.at(track - 1).title;
        }
        entries.append(QStringLiteral("%1  %2").arg(track, 2, 10, QLatin1Char('0')).arg(title));
    }
    session_.archive.clear();
    session_.playback.clear();
    session_.playback.appendMany(entries);
}

// ---- Deleting -----------------------------------------------------------------------------

CollectionEditor::DeleteResult CollectionEditor::deleteSelectedItem() {
    PlaybackList& playback = session_.playback;
    const int row = playback.selectedIndex();
    if (row < 0 || kind() == MediaKind::CdAudio) {
        return DeleteResult::Nothing;
    }
    Prompts& prompts = session_.prompts;
    if (titlePlaying()) {
        prompts.inform(Catalogue::title(msg::kItemInUse), Catalogue::body(msg::kItemInUse),
                       PromptIcon::Information);
        return DeleteResult::RefusedPlaying;
    }
    const QString title = playback.at(row);
    const QString collection = session_.currentCollectionPath();
    if (collection.isEmpty()) {
        prompts.inform(Catalogue::title(msg::kDeleteItemFailed),
                       Catalogue::body(msg::kDeleteItemFailed), PromptIcon::Error);
        return DeleteResult::Failed;
    }
    if (prompts.message(Catalogue::title(msg::kDeleteItem),
                        Catalogue::body(msg::kDeleteItem).arg(title), PromptIcon::Question,
                        PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
        return DeleteResult::Declined;
    }

    playback.appendMany(session_.archive.takeAll());
    playback.takeAt(row);
    // The collection file goes first: should that fail, the record stays and nothing lists a
    // title whose record is gone.
    bool ok = true;
    DeleteResult result = DeleteResult::Deleted;
    if (playback.count() > 0) {
        ok = CollectionFile(collection).rewrite(playback.titles());
        session_.archive.addMany(playback.takeAll());
    } else {
        // The kind list line first: should that fail, the collection is still whole.
        const QString name = session_.chooser.text();
        ok = KindListFile(session_.paths.kindList(kind()))
                 .remove(name, session_.paths.writeScratch()) &&
             CollectionFile(collection).erase();
        result = DeleteResult::CollectionRemoved;
    }
    ok = ok && deleteRecords({title}, collection);

    if (result == DeleteResult::CollectionRemoved) {
        rememberCurrentIndex();
        forgetChooser();
        open(CollectionSelection::AfterDelete);
    } else if (!ok) {
        // Show the collection as its file now lists it.
        session_.archive.clear();
        session_.playback.clear();
        open(CollectionSelection::Current);
    }
    if (!ok) {
        prompts.inform(Catalogue::title(msg::kDeleteItemFailed),
                       Catalogue::body(msg::kDeleteItemFailed), PromptIcon::Error);
        return DeleteResult::Failed;
    }
    return result;
}

CollectionEditor::DeleteResult CollectionEditor::deleteCollection() {
    const QString name = session_.chooser.text();
    if (name.isEmpty() || kind() == MediaKind::CdAudio) {
        return DeleteResult::Nothing;
    }
    Prompts& prompts = session_.prompts;
    if (titlePlaying()) {
        prompts.inform(Catalogue::title(msg::kCollectionInUse),
                       Catalogue::body(msg::kCollectionInUse), PromptIcon::Information);
        return DeleteResult::RefusedPlaying;
    }
    if (prompts.message(Catalogue::title(msg::kDeleteCollection),
                        Catalogue::body(msg::kDeleteCollection).arg(name), PromptIcon::Question,
                        PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
        return DeleteResult::Declined;
    }

    session_.archive.addMany(session_.playback.takeAll());
    const QStringList titles = session_.archive.titles();
    const QString collection = session_.currentCollectionPath();
    // The kind list line first, then the file, the records last: a collection that could not
    // be removed keeps every record it lists.
    bool ok =
        KindListFile(session_.paths.kindList(kind())).remove(name, session_.paths.writeScratch()) &&
        (collection.isEmpty() || CollectionFile(collection).erase());
    ok = ok && deleteRecords(titles, collection);

    rememberCurrentIndex();
    forgetChooser();
    session_.archive.clear();
    open(CollectionSelection::AfterDelete);
    if (!ok) {
        prompts.inform(Catalogue::title(msg::kDeleteCollectionFailed),
                       Catalogue::body(msg::kDeleteCollectionFailed), PromptIcon::Error);
        return DeleteResult::Failed;
    }
    return DeleteResult::CollectionRemoved;
}

bool CollectionEditor::deleteRecords(const QStringList& titles, const QString& collectionPath) {
    const QSet<QString> shared = titlesListedElsewhere(collectionPath);
    bool any = false;
    for (const QString& title : titles) {
        if (!shared.contains(title.toCaseFolded())) {
            session_.store.DeleteItemRecord(LibraryPaths::memberName(kind(), title));
            if (kind() == MediaKind::Audio) {
                session_.store.deleteItemLyrics(title);
            }
            any = true;
        }
    }
    return !any || session_.writer.flush();
}

QSet<QString> CollectionEditor::titlesListedElsewhere(const QString& exceptPath) const {
    // Every collection file of the kind in the data folder, also one whose kind list line was
    // lost: a record survives while any of them lists its title.
    const QString letter = LibraryPaths::recordPrefix(kind()).left(1);
    QSet<QString> titles;
    if (letter.isEmpty()) {
        return titles;
    }
    QDir folder(session_.paths.dataFolder());
    folder.setNameFilters({letter + QStringLiteral("*.dat")});
    folder.setFilter(QDir::Files | QDir::CaseSensitive);
    const QString except = QFileInfo(exceptPath).fileName();
    for (const QString& file : folder.entryList()) {
        if (file == except) {
            continue;
        }
        QStringList listed;
        CollectionFile(folder.filePath(file)).read(listed);
        for (const QString& title : listed) {
            titles.insert(title.toCaseFolded());
        }
    }
    return titles;
}

bool CollectionEditor::isUsableCollectionName(const QString& name) {
    if (name.isEmpty()) {
        return false;
    }
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control ||
            refused.contains(c)) {
            return false;
        }
    }
    return true;
}

// "Finish!"
void CollectionEditor::finish() {
    if (player_.control != nullptr) {
        player_.control->takeOverPlaybackList();
    }
}

void CollectionEditor::stopPlayback() {
    if (player_.control != nullptr && player_.control->isPlaying()) {
        player_.control->stop();
    }
}

// ---- Helpers ------------------------------------------------------------------------------

OpenKind::Outcome CollectionEditor::open(CollectionSelection selection) {
    const OpenKind::Outcome outcome = OpenKind(session_).run(kind(), selection);
    storeSelection();
    return outcome;
}

void CollectionEditor::stopIfPlaying() {
    // Also a title that is only loaded: its type and archive name are forgotten.
    if (player_.control != nullptr && player_.control->hasCurrentItem()) {
        player_.control->stopCurrentItem();
    }
}

void CollectionEditor::forgetChooser() {
    session_.chooser.forget();
}

void CollectionEditor::rememberCurrentIndex() {
    CollectionChooser& chooser = session_.chooser;
    if (chooser.currentIndex() >= 0) {
        chooser.rememberedIndex = chooser.currentIndex();
    }
}

void CollectionEditor::storeSelection() {
    if (player_.settings != nullptr) {
        storeSelection(session_, *player_.settings);
    }
}

void CollectionEditor::storeSelection(const LibrarySession& session, Settings& settings) {
    settings.listKind = static_cast<int16_t>(session.kind());
    settings.collectionNumber = static_cast<int16_t>(session.chooser.currentIndex());
}

}  // namespace marlo
