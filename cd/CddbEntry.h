#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace marlo {

// One CD database entry as read from a "cddb read" reply.
struct CddbEntry {
    QString category;
    int dataRev = 0;
    QString title;
    QString artist;
    QString cdTitle;
    QStringList songs;  // track 1 first
    QString extData;
    QStringList extTracks;
    QString playOrder;

    // Title, the track count and every song title, each on its own line.
    QString summary() const;
};

// Parses a "cddb read" reply (CR LF lines). Keys are pulled in a fixed order from one consumed
// text; the track titles end at the first missing track number. False for a "600" reply.
bool parseEntry(const QString& reply, CddbEntry& entry);

// One entry of a "211" reply.
struct CloseMatch {
    QString category;
    QString title;
    QString discId;
};
inline constexpr int kMaxCloseMatches = 100;

// The matches listed after the first line of a "211" reply, up to the "." line.
QList<CloseMatch> decodeCloseMatches(const QString& response);

// The category, disc id and title of a "200" reply.
CloseMatch parseExactMatch(const QString& reply);

// The numeric value of the first three characters; 0 when they are not a number.
int replyCode(const QString& reply);

}  // namespace marlo
