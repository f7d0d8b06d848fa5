#include "library/LibraryPaths.h"

#include "platform/ProgramFolders.h"

namespace marlo {
namespace {

QString kindLetter(MediaKind kind) {
    switch (kind) {
        case MediaKind::Audio:
            return QStringLiteral("a");
        case MediaKind::Video:
            return QStringLiteral("v");
        case MediaKind::Pictures:
            return QStringLiteral("p");
        case MediaKind::CdAudio:
            break;
    }
    return {};
}

}  // namespace

LibraryPaths::LibraryPaths(QString dataFolder) : data_(withTrailingSlash(dataFolder)) {}

QString LibraryPaths::kindList(MediaKind kind) const {
    switch (kind) {
        case MediaKind::Audio:
            return data_ + QStringLiteral("Audio.dat");
        case MediaKind::Video:
            return data_ + QStringLiteral("Video.dat");
        case MediaKind::Pictures:
            return data_ + QStringLiteral("Pics.dat");
        case MediaKind::CdAudio:
            break;
    }
    return {};
}

QString LibraryPaths::collection(MediaKind kind, const QString& name) const {
    const QString letter = kindLetter(kind);
    // A name with a folder separator would put the file outside the data folder.
    if (letter.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/')) ||
        name.contains(QChar(0))) {
        return {};
    }
    return data_ + letter + name + QStringLiteral(".dat");
}

QString LibraryPaths::recordPrefix(MediaKind kind) {
    const QString letter = kindLetter(kind);
    return letter.isEmpty() ? QString() : letter + QLatin1Char('_');
}

}  // namespace marlo
