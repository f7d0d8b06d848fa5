#include "library/ItemStore.h"

#include <QFileInfo>
#include <QSet>

#include "base/WriteErrorText.h"
#include "base/texts/LibraryTexts.h"
#include "base/texts/StartupTexts.h"
#include "library/CollectionFile.h"
#include "library/KindListFile.h"
#include "library/LibraryPaths.h"
#include "platform/Prompts.h"

namespace marlo {

ItemStore::ItemStore(QString storePath, Prompts& prompts)
    : zip_(std::move(storePath)), prompts_(prompts) {}

namespace {

// Records the library's collections list that the store does not hold, by folded member name.
QSet<QString> listedButMissing(const LibraryPaths& paths, const ZipStore& zip) {
    QSet<QString> missing;
    for (const MediaKind kind : {MediaKind::Audio, MediaKind::Video, MediaKind::Pictures}) {
        QStringList collections;
        KindListFile(paths.kindList(kind)).read(collections);
        for (const QString& collection : collections) {
            QStringList titles;
            CollectionFile(paths.collection(kind, collection)).read(titles);
            for (const QString& title : titles) {
                const QString member = LibraryPaths::memberName(kind, title);
                if (!zip.contains(member)) {
                    missing.insert(member.toCaseFolded());
                }
            }
        }
    }
    return missing;
}

}  // namespace

ZipStore::OpenState ItemStore::open() {
    const ZipStore::OpenState state = zip_.open();
    if (state == ZipStore::OpenState::MovedAside) {
        // Lost are the records found damaged and, since whatever stood after a cut is gone
        // without a trace, those the collections still list.
        QSet<QString> lost =
            listedButMissing(LibraryPaths(QFileInfo(zip_.path()).absolutePath()), zip_);
        for (const QString& name : zip_.salvaged().lost) {
            lost.insert(name.toCaseFolded());
        }
        const int saved = zip_.salvaged().saved;
        if (saved == 0 && lost.isEmpty()) {
            prompts_.inform(Catalogue::title(texts::kStoreDamaged),
                            Catalogue::body(texts::kStoreDamaged).arg(zip_.movedAsidePath()),
                            PromptIcon::Warning);
        } else {
            prompts_.inform(Catalogue::title(texts::kStoreSalvaged),
                            Catalogue::body(texts::kStoreSalvaged)
                                .arg(zip_.movedAsidePath(), QString::number(saved),
                                     QString::number(lost.size())),
                            PromptIcon::Warning);
        }
    } else if (state == ZipStore::OpenState::Unusable) {
        prompts_.inform(Catalogue::title(texts::kStoreUnusable),
                        Catalogue::body(texts::kStoreUnusable).arg(zip_.path()), PromptIcon::Error);
    }
    return state;
}

void ItemStore::ensureOpen() {
    if (zip_.state() == ZipStore::OpenState::Closed) {
        open();
    }
}

bool ItemStore::readMember(const QString& name, QByteArray& content) {
    ensureOpen();
    if (zip_.read(name, content)) {
        return true;
    }
    if (zip_.lastReadError() != 0) {
        prompts_.inform(QString(), tr(texts::kStoreReadError).arg(zip_.lastReadError()),
                        PromptIcon::None);
    }
    return false;
}

MediaItem ItemStore::ReadItem(MediaKind kind, const QString& title) {
    const QString member = LibraryPaths::memberName(kind, title);
    QByteArray bytes;
    readMember(member, bytes);
    return ItemRecord::read(bytes, member, kind);
}

bool ItemStore::hasItem(MediaKind kind, const QString& title) {
    ensureOpen();
    return zip_.contains(LibraryPaths::memberName(kind, title));
}

void ItemStore::putItemRecord(const MediaItem& item) {
    ensureOpen();
    const QString member = LibraryPaths::memberName(item.kind, item.title);
    zip_.put(member, ItemRecord::compose(member, item));
}

void ItemStore::DeleteItemRecord(const QString& memberName) {
    ensureOpen();
    zip_.remove(memberName);
}

CdInfo ItemStore::ReadCdInfo(const QString& discId, int trackCount) {
    QByteArray bytes;
    readMember(discId, bytes);
    return CdInfoRecord::read(bytes, discId, trackCount);
}

void ItemStore::putCdInfoRecord(const QString& discId, const QString& album,
                                const QList<CdTrackInfo>& tracks) {
    ensureOpen();
    zip_.put(discId, CdInfoRecord::compose(discId, album, tracks));
}

QString ItemStore::lyricsMember(const QString& discId, int track) {
    return discId + QLatin1Char('.') + QString::number(track);
}

bool ItemStore::readLyrics(const QString& discId, int track, QByteArray& text) {
    return readMember(lyricsMember(discId, track), text);
}

void ItemStore::putLyrics(const QString& discId, int track, const QByteArray& text) {
    ensureOpen();
    zip_.put(lyricsMember(discId, track), text);
}

QString ItemStore::itemLyricsMember(const QString& title) {
    return QStringLiteral("l_") + title;
}

bool ItemStore::readItemLyrics(const QString& title, QByteArray& text) {
    return readMember(itemLyricsMember(title), text);
}

void ItemStore::putItemLyrics(const QString& title, const QByteArray& text) {
    ensureOpen();
    zip_.put(itemLyricsMember(title), text);
}

void ItemStore::moveItemLyrics(const QString& oldTitle, const QString& newTitle) {
    QByteArray text;
    if (!readItemLyrics(oldTitle, text)) {
        return;
    }
    putItemLyrics(newTitle, text);
    zip_.remove(itemLyricsMember(oldTitle));
}

void ItemStore::deleteItemLyrics(const QString& title) {
    ensureOpen();
    if (zip_.contains(itemLyricsMember(title))) {
        zip_.remove(itemLyricsMember(title));
    }
}

bool ItemStore::commit() {
    ensureOpen();
    if (zip_.commit()) {
        return true;
    }
    prompts_.message(QString(), writeErrorText(), PromptIcon::None, PromptButtons::Ok,
                     PromptAnswer::Ok);
    return false;
}

int ItemStore::memberCount() {
    ensureOpen();
    return zip_.count();
}

}  // namespace marlo
