#include "library/ExtensionFilter.h"

#include "library/ItemFormats.h"

namespace marlo {
namespace {

template <typename Endings>
QStringList withPatternsOf(QStringList patterns, const Endings& endings) {
    for (const char* ending : endings) {
        patterns.append(QLatin1Char('*') + QLatin1String(ending));
    }
    return patterns;
}

}  // namespace

QStringList ExtensionFilter::patternsFor(MediaKind kind) {
    switch (kind) {
        case MediaKind::Video:
            return withPatternsOf({"*.avi", "*.rm", "*.mov", "*.fli", "*.flc", "*.aas", "*.mpg"},
                                  kMoreVideoEndings);
        case MediaKind::Pictures:
            return withPatternsOf({"*.bmp", "*.jpg", "*.gif"}, kMorePictureEndings);
        case MediaKind::Audio:
            return QStringList{"*.wav", "*.ra", "*.au",  "*.snd", "*.mod", "*.xm",
                               "*.s3m", "*.it", "*.mp2", "*.mp3", "*.mid"} +
                   moreAudioPatterns();
        case MediaKind::CdAudio:
            break;
    }
    return {};
}

void ExtensionFilter::append(const QStringList& chosen) {
    for (const QString& pattern : chosen) {
        filter_ += pattern + QLatin1Char(';');
    }
}

QString ExtensionFilter::pattern() const {
    return filter_.endsWith(QLatin1Char(';')) ? filter_.chopped(1) : filter_;
}

}  // namespace marlo
