#include "library/ItemRecord.h"

#include "platform/IniFile.h"
#include "platform/TextCodec.h"

namespace marlo {
namespace {

QString trackKey(int n) {
    return QStringLiteral("Track %1").arg(n);
}
QString artistKey(int n) {
    return QStringLiteral("Interpret %1").arg(n);
}

}  // namespace

QByteArray ItemRecord::compose(const QString& memberName, const MediaItem& item) {
    return joinLines(
        {QLatin1Char('[') + memberName + QLatin1Char(']'),
         QStringLiteral("Liedbezeichnung=") + item.title, QStringLiteral("Pfad=") + item.path,
         QStringLiteral("Interpret=") + item.artist, QStringLiteral("LiedType=") + item.typeTag});
}

MediaItem ItemRecord::read(const QByteArray& bytes, const QString& memberName, MediaKind kind) {
    const IniDocument record = IniDocument::parse(bytes);
    MediaItem item;
    item.kind = kind;
    item.title = record.value(memberName, QStringLiteral("Liedbezeichnung"), kNotPresent);
    item.path = record.value(memberName, QStringLiteral("Pfad"), kNotPresent);
    item.artist = record.value(memberName, QStringLiteral("Interpret"), kNotPresent);
    item.typeTag = record.value(memberName, QStringLiteral("LiedType"), QString());
    return item;
}

QByteArray CdInfoRecord::compose(const QString& discId, const QString& album,
                                 const QList<CdTrackInfo>& tracks) {
    QStringList lines{QLatin1Char('[') + discId + QLatin1Char(']'),
                      QStringLiteral("Album=") + album};
    for (int n = 1; n <= tracks.size(); ++n) {
        const CdTrackInfo& track = tracks[n - 1];
        lines << trackKey(n) + QLatin1Char('=') + track.title
              << artistKey(n) + QLatin1Char('=') + track.artist;
    }
    return joinLines(lines);
}

CdInfo CdInfoRecord::read(const QByteArray& bytes, const QString& discId, int trackCount) {
    const IniDocument record = IniDocument::parse(bytes);
    CdInfo info;
    info.known = !isNotPresent(record.value(discId, trackKey(1), kNotPresent));
    if (!info.known) {
        return info;
    }
    info.album = record.value(discId, QStringLiteral("Album"), kNotPresent);
    for (int n = 1; n <= trackCount; ++n) {
        info.tracks.append({record.value(discId, trackKey(n), kNotPresent),
                            record.value(discId, artistKey(n), kNotPresent)});
    }
    return info;
}

}  // namespace marlo
