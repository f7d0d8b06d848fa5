#include "desktop/MediaTypes.h"

#include <QMimeDatabase>
#include <algorithm>
#include <set>

#include "library/ItemFormats.h"

namespace marlo {
namespace {

bool accepted(const QString& suffix) {
    const QString path = QStringLiteral("x.") + suffix;
    QString tag;
    for (const auto kind : {MediaKind::Audio, MediaKind::Video, MediaKind::Pictures}) {
        if (acceptItemPath(kind, path, tag)) {
            return true;
        }
    }
    return false;
}

}  // namespace

// Every audio, video and picture type with an ending that one of the kinds takes. Other types
// count only when their own ending is taken: ".rm" is RealMedia, but ".mod" is also one of the
// endings of object files, which are no media.
QStringList acceptedMimeTypes() {
    std::set<QString> found;
    const QMimeDatabase db;
    for (const QMimeType& type : db.allMimeTypes()) {
        const QString name = type.name();
        const bool media = name.startsWith(QLatin1String("audio/")) ||
                           name.startsWith(QLatin1String("video/")) ||
                           name.startsWith(QLatin1String("image/"));
        const QStringList suffixes = type.suffixes();
        if (media ? std::any_of(suffixes.cbegin(), suffixes.cend(), accepted)
                  : !type.preferredSuffix().isEmpty() && accepted(type.preferredSuffix())) {
            found.insert(name);
        }
    }
    return QStringList(found.begin(), found.end());
}

}  // namespace marlo
