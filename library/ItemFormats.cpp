#include "library/ItemFormats.h"

#include <initializer_list>

#include "platform/media/ModuleEndings.h"

namespace marlo {
namespace {

bool endsWithAny(const QString& path, std::initializer_list<const char*> endings) {
    return endsWithOneOf(path, endings);
}

}  // namespace

const QStringList& moreModuleEndings() {
    static const QStringList endings = [] {
        QStringList more;
        for (const QString& ending : moduleFileEndings()) {
            if (!endsWithAny(ending, {".mod", ".xm", ".it", ".s3m"}) &&
                !endsWithOneOf(ending, kMorePictureEndings) &&
                !endsWithOneOf(ending, kMoreVideoEndings)) {
                more.append(ending);
            }
        }
        return more;
    }();
    return endings;
}

bool isModulePath(const QString& path) {
    if (endsWithAny(path, {".mod", ".xm", ".it", ".s3m"})) {
        return true;
    }
    for (const QString& ending : moreModuleEndings()) {
        if (path.endsWith(ending, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

QStringList moreAudioPatterns() {
    QStringList patterns;
    for (const char* ending : kMoreAudioEndings) {
        patterns.append(QLatin1Char('*') + QLatin1String(ending));
    }
    for (const QString& ending : moreModuleEndings()) {
        patterns.append(QLatin1Char('*') + ending);
    }
    return patterns;
}

bool acceptItemPath(MediaKind kind, const QString& path, QString& typeTag) {
    typeTag.clear();
    switch (kind) {
        case MediaKind::Audio:
            if (endsWithAny(path, {".wav", ".au", ".snd", ".ra", ".mid"})) {
                return true;
            }
            if (endsWithAny(path, {".mp3", ".mp2"})) {
                typeTag = QStringLiteral("mp3");
                return true;
            }
            if (isModulePath(path)) {
                typeTag = QStringLiteral("mod");
                return true;
            }
            return endsWithOneOf(path, kMoreAudioEndings);
        case MediaKind::Video:
            return endsWithAny(path, {".avi", ".rm", ".mov", ".fli", ".flc", ".aas", ".mpg"}) ||
                   endsWithOneOf(path, kMoreVideoEndings);
        case MediaKind::Pictures:
            return endsWithAny(path, {".bmp", ".jpg", ".gif"}) ||
                   endsWithOneOf(path, kMorePictureEndings);
        case MediaKind::CdAudio:
            break;
    }
    return false;
}

bool isUsableTitle(const QString& title) {
    if (title.isEmpty() || title == QLatin1String(".") || title == QLatin1String("..")) {
        return false;
    }
    if (title.front().isSpace() || title.back().isSpace()) {
        return false;
    }
    static const QString refused = QStringLiteral("/\\:*?\"<>|]");
    for (const QChar c : title) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control ||
            refused.contains(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace marlo
