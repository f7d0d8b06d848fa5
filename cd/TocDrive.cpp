#include "cd/TocDrive.h"

#include "cd/CddbText.h"

namespace marlo {

quint32 TocDrive::trackStart(int track) const {
    if (track < 1 || track > trackCount()) {
        return 0;
    }
    return framesToMsf(toc_.trackStarts.at(track - 1));
}

quint32 TocDrive::trackLength(int track) const {
    if (track < 1 || track > trackCount()) {
        return 0;
    }
    const int start = toc_.trackStarts.at(track - 1);
    const int end = track < trackCount() ? toc_.trackStarts.at(track) : toc_.leadOut - 1;
    return framesToMsf(end - start);
}

}  // namespace marlo
