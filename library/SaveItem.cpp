#include "library/SaveItem.h"

#include "base/texts/LibraryTexts.h"
#include "library/ItemEditor.h"
#include "library/ItemFormats.h"
#include "library/LibrarySession.h"
#include "platform/Prompts.h"

namespace marlo {
namespace {

bool sameTitle(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

SaveItem::SaveItem(ItemEditor& editor) : editor_(editor), session_(editor.session()) {}

SaveItem::Outcome SaveItem::run() {
    LibrarySession& s = session_;
    ItemEditorFields& editor = editor_.fields;
    const bool autoAdd = editor.autoAdd;

    if (editor.title.isEmpty()) {
        s.prompts.inform(Catalogue::title(texts::kEnterTitle), Catalogue::body(texts::kEnterTitle),
                         PromptIcon::Error);
        return {Result::EmptyTitle, false};
    }
    if (s.kind() == MediaKind::CdAudio) {
        return saveCdTrack();
    }
    if (!isUsableTitle(editor.title)) {
        s.prompts.inform(Catalogue::title(texts::kInvalidTitle),
                         Catalogue::body(texts::kInvalidTitle).arg(editor.title),
                         PromptIcon::Error);
        return {Result::InvalidTitle, false};
    }
    MediaItem item{s.kind(), editor.title, editor.path, editor.artist, QString()};
    if (!acceptItemPath(s.kind(), editor.path, item.typeTag)) {
        s.prompts.inform(Catalogue::title(texts::kFormatNotSupported),
                         Catalogue::body(texts::kFormatNotSupported), PromptIcon::Information);
        return finish(Result::NotSupported, autoAdd);
    }

    const QString collection = s.currentCollectionPath();
    const bool renamed =
        !editor.editedTitle.isEmpty() && !sameTitle(editor.editedTitle, item.title);
    // A rename writes the new record and line before the old line and record go, so a crash
    // between any two writes leaves the item under one of its titles, never under neither.
    bool newLineWritten = false;
    if (renamed) {
        // The entry of the renamed title goes, not whatever is selected now: Next, Previous or
        // an item's end move the selection while the editor is open.
        const int row = playbackRowOf(editor.editedTitle);
        if (row >= 0) {
            s.playback.takeAt(row);
        }
        if (!collection.isEmpty() && s.archive.find(item.title) < 0 &&
            !s.playback.titles().contains(item.title, Qt::CaseInsensitive)) {
            s.writer.appendToCollection(collection, item.title);
            newLineWritten = true;
        }
    }
    s.store.putItemRecord(item);
    if (renamed && !collection.isEmpty()) {
        // Also when the new title is already listed: the old line would name a deleted record.
        if (!s.writer.removeFromCollection(collection, editor.editedTitle,
                                           s.paths.writeScratch())) {
            // Nothing was written; going on would list the new title without its record.
            return finish(Result::WriteFailed, autoAdd);
        }
    }
    if (renamed) {
        s.store.DeleteItemRecord(LibraryPaths::memberName(s.kind(), editor.editedTitle));
        if (s.kind() == MediaKind::Audio) {
            s.store.moveItemLyrics(editor.editedTitle, item.title);
        }
    }

    if (!sameTitle(s.playback.selectedTitle(), item.title) || s.playback.selectedIndex() < 0) {
        s.archive.addMany(s.playback.takeAll());
    }
    const bool listed =
        s.archive.find(item.title) >= 0 ||
        (s.playback.selectedIndex() >= 0 && sameTitle(s.playback.selectedTitle(), item.title));
    if (!listed) {
        if (!newLineWritten) {
            s.writer.appendToCollection(collection, item.title);
        }
        if (autoAdd) {
            s.playback.append(item.title);
        } else {
            s.archive.add(item.title);
        }
    }
    const bool written = s.writer.operationDone();
    return finish(written ? Result::Saved : Result::WriteFailed, autoAdd);
}

int SaveItem::playbackRowOf(const QString& title) const {
    const PlaybackList& playback = session_.playback;
    if (playback.selectedIndex() >= 0 && sameTitle(playback.selectedTitle(), title)) {
        return playback.selectedIndex();
    }
    const QStringList& titles = playback.titles();
    for (int row = 0; row < titles.size(); ++row) {
        if (sameTitle(titles.at(row), title)) {
            return row;
        }
    }
    return -1;
}

SaveItem::Outcome SaveItem::saveCdTrack() {
    CdDraft& cd = editor_.cd;
    const int n = qMax(1, cd.currentTrack);
    while (cd.tracks.size() < n) {
        cd.tracks.append(CdTrackInfo{});
    }
    cd.tracks[n - 1] = {editor_.fields.title, editor_.fields.artist};
    editor_.fields.editedTitle.clear();
    return {Result::CdTrackNoted, false};
}

SaveItem::Outcome SaveItem::finish(Result result, bool autoAdd) {
    ItemEditorFields& editor = editor_.fields;
    editor.editedTitle.clear();
    editor.clear();
    editor.autoAdd = false;
    return {result, !autoAdd};
}

}  // namespace marlo
