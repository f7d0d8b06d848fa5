#pragma once

#include <QByteArray>
#include <QString>

#include "library/ItemRecord.h"
#include "platform/archive/ZipStore.h"

namespace marlo {

class Prompts;

// The item store "Marlo.zip": item records, CD information records and lyrics members.
//
// Writes are collected and reach the disk with commit() (LibraryWriter decides when); reads see
// collected writes at once. The store is opened on first use; when it turns out damaged or
// unusable the user is told once, through the prompts, where the old file was kept and, for a
// damaged one, how many records were saved from it and how many are lost.
class ItemStore {
  public:
    ItemStore(QString storePath, Prompts& prompts);

    ZipStore::OpenState open();
    const QString& movedAsidePath() const { return zip_.movedAsidePath(); }

    // The record of prefix + title, read into memory; missing keys (or a missing record) read
    // as "Nicht vorhanden", the type tag as empty.
    MediaItem ReadItem(MediaKind kind, const QString& title);
    bool hasItem(MediaKind kind, const QString& title);
    void putItemRecord(const MediaItem& item);
    void DeleteItemRecord(const QString& memberName);

    // The CD information record of a disc; unknown when it has no "Track 1".
    CdInfo ReadCdInfo(const QString& discId, int trackCount);
    void putCdInfoRecord(const QString& discId, const QString& album,
                         const QList<CdTrackInfo>& tracks);

    // Lyrics members "disc id.n", kept byte for byte as they were fetched.
    bool readLyrics(const QString& discId, int track, QByteArray& text);
    void putLyrics(const QString& discId, int track, const QByteArray& text);

    // Lyrics of an audio item, stored under "l_" + title: no record prefix, disc id or disc
    // id with a track number can read so.
    bool readItemLyrics(const QString& title, QByteArray& text);
    void putItemLyrics(const QString& title, const QByteArray& text);
    // The lyrics go with their item: renamed with it, and deleted with its record.
    void moveItemLyrics(const QString& oldTitle, const QString& newTitle);
    void deleteItemLyrics(const QString& title);
    static QString itemLyricsMember(const QString& title);

    bool hasPendingChanges() const { return zip_.hasPendingChanges(); }
    // Writes the collected changes with one rewrite; a failure shows "Schreibfehler".
    bool commit();
    // Forgets what a failed commit left collected.
    void discardPending() { zip_.discardPending(); }

    int memberCount();

  private:
    void ensureOpen();
    bool readMember(const QString& name, QByteArray& content);
    static QString lyricsMember(const QString& discId, int track);

    ZipStore zip_;
    Prompts& prompts_;
};

}  // namespace marlo
