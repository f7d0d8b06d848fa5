#include "platform/archive/ace/AcePackedSource.h"

#include <algorithm>

#include "platform/archive/ace/AceFailure.h"

namespace marlo::ace {

PackedSource::PackedSource(QList<AceSegment> segments) : segments_(std::move(segments)) {
    for (const AceSegment& segment : segments_) {
        total_ += segment.size;
    }
}

void PackedSource::openNext() {
    const AceSegment& segment = segments_[next_++];
    if (file_.isOpen()) {
        file_.close();
    }
    file_.setFileName(segment.volumePath);
    require(file_.open(QIODevice::ReadOnly), ArchiveStatus::CannotOpen);
    require(file_.seek(segment.offset));
    leftInSegment_ = segment.size;
}

qsizetype PackedSource::read(char* destination, qsizetype size) {
    qsizetype done = 0;
    while (done < size) {
        if (leftInSegment_ == 0) {
            if (next_ >= segments_.size()) {
                break;
            }
            openNext();
            continue;
        }
        const qint64 want = std::min<qint64>(size - done, leftInSegment_);
        const qint64 got = file_.read(destination + done, want);
        // The catalogue checked every segment against the file size, so a short read means
        // the file changed or failed under us.
        require(got == want);
        done += qsizetype(got);
        leftInSegment_ -= got;
    }
    return done;
}

}  // namespace marlo::ace
