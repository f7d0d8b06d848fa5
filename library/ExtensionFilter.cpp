#include "library/ExtensionFilter.h"

namespace marlo {

QStringList ExtensionFilter::patternsFor(MediaKind kind) {
    switch (kind) {
        case MediaKind::Video:
            return {"*.avi", "*.rm", "*.mov", "*.fli", "*.flc", "*.aas", "*.mpg"};
        case MediaKind::Pictures:
            return {"*.bmp", "*.jpg", "*.gif"};
        case MediaKind::Audio:
            return {"*.wav", "*.ra", "*.au",  "*.snd", "*.mod", "*.xm",
                    "*.s3m", "*.it", "*.mp2", "*.mp3", "*.mid"};
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
