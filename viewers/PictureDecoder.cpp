#include "viewers/PictureDecoder.h"

#include <QImageReader>
#include <QMetaObject>
#include <algorithm>

#include "viewers/PngRows.h"

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace marlo {

namespace {
constexpr qsizetype kKept = 2;  // shown and ahead
constexpr int kWorkerNice = 10;
// Qt's image reader allocates no more than this for one picture (its allocation limit).
constexpr qint64 kDecodeBoundBytes = 128LL * 1024 * 1024;

qint64 fullDecodeBytes(QSize size) {
    return static_cast<qint64>(size.width()) * size.height() * 4;
}

// The part of a picture shown at `shown` size, in the picture's own pixels, rounded outwards.
QRect sourceOf(const QRect& part, QSize shown, QSize original) {
    if (shown.isEmpty()) {
        return {};
    }
    const auto down = [](int v, int from, int to) {
        return static_cast<int>(static_cast<qint64>(v) * to / from);
    };
    const auto up = [](int v, int from, int to) {
        return static_cast<int>((static_cast<qint64>(v) * to + from - 1) / from);
    };
    const int left = down(part.left(), shown.width(), original.width());
    const int top = down(part.top(), shown.height(), original.height());
    const int right = up(part.left() + part.width(), shown.width(), original.width());
    const int bottom = up(part.top() + part.height(), shown.height(), original.height());
    return QRect(left, top, std::max(1, right - left), std::max(1, bottom - top))
        .intersected(QRect(QPoint(0, 0), original));
}

// Through Qt's reader: scaled while it reads where the format can (a JPEG fitted to the screen
// never exists at full size), and clipped to the part in the window. Clip rectangles are in the
// file's own orientation, so a turned picture is cut after reading.
QImage readShownPart(QImageReader& reader, QSize original, const PictureLayout& layout,
                     bool turned) {
    const QSize shown = layout.image.size();
    const QRect part = layout.shownPart();
    const bool plain = reader.transformation() == QImageIOHandler::TransformationNone;
    const bool cut = part.size() != shown;
    bool scaled = false;
    bool clipped = false;
    if (shown.width() <= original.width() && shown.height() <= original.height() &&
        shown != original && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        reader.setScaledSize(turned ? shown.transposed() : shown);
        scaled = true;
        if (plain && cut) {
            reader.setScaledClipRect(part);
            clipped = true;
        }
    } else if (plain && cut) {
        reader.setClipRect(sourceOf(part, shown, original));
        clipped = true;
    }
    QImage image = reader.read();
    if (image.isNull() || clipped || !cut) {
        return image;
    }
    return image.copy(scaled ? part : sourceOf(part, shown, original));
}

// Decoding yields to the user-interface thread and the window system: on a busy machine a
// decode ahead must not delay the painting of the picture on view.
void yieldToTheWindows() {
#ifdef __linux__
    thread_local bool lowered = false;
    if (!lowered) {
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNice);
        lowered = true;
    }
#endif
}
}  // namespace

PictureDecoder::PictureDecoder(QObject* parent) : QObject(parent) {
    // One worker: the picture wanted now and the one ahead decode in turn, so at most one
    // full-size decode is in memory at a time.
    pool_.setMaxThreadCount(1);
}

PictureDecoder::~PictureDecoder() {
    for (const Job& job : jobs_) {
        job.dropped->store(true);
    }
    pool_.waitForDone();
}

std::optional<DecodedPicture> PictureDecoder::find(const PictureRequest& request) const {
    for (const DecodedPicture& picture : kept_) {
        if (picture.request == request) {
            return picture;
        }
    }
    return std::nullopt;
}

void PictureDecoder::request(const PictureRequest& request, bool urgent) {
    if (urgent) {
        for (const Job& job : jobs_) {
            if (!(job.request == request)) {
                job.dropped->store(true);
            }
        }
    }
    if (find(request)) {
        return;
    }
    for (const Job& job : jobs_) {
        if (job.request == request && !job.dropped->load()) {
            return;
        }
    }
    Job job{request, std::make_shared<std::atomic<bool>>(false)};
    jobs_.append(job);
    pool_.start([this, job] {
        yieldToTheWindows();
        // A dropped job that has not begun costs nothing.
        DecodedPicture picture =
            job.dropped->load() ? DecodedPicture{job.request, {}, {}, {}} : decode(job.request);
        QMetaObject::invokeMethod(
            this,
            [this, picture = std::move(picture), dropped = job.dropped] {
                finished(picture, dropped);
            },
            Qt::QueuedConnection);
    });
}

void PictureDecoder::finished(const DecodedPicture& picture,
                              const std::shared_ptr<std::atomic<bool>>& dropped) {
    for (qsizetype i = 0; i < jobs_.size(); ++i) {
        if (jobs_.at(i).dropped == dropped) {
            jobs_.removeAt(i);
            break;
        }
    }
    if (dropped->load()) {
        return;
    }
    kept_.append(picture);
    while (kept_.size() > kKept) {
        kept_.removeFirst();
    }
    emit decoded(picture);
}

DecodedPicture PictureDecoder::decode(const PictureRequest& request) {
    DecodedPicture picture{request, {}, {}, {}};
    QImageReader reader(request.path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    QImage image;
    if (!stored.isValid()) {
        // A format that tells its size only once decoded: decoded whole, then laid out.
        image = reader.read();
        if (image.isNull()) {
            return picture;
        }
        picture.original = image.size();
        picture.layout = layoutPicture(picture.original, request.screen, request.options);
        image = image.copy(
            sourceOf(picture.layout.shownPart(), picture.layout.image.size(), picture.original));
    } else {
        // A quarter turn from the file's orientation tag swaps the sides the viewer sees.
        const bool turned =
            reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
        picture.original = turned ? stored.transposed() : stored;
        picture.layout = layoutPicture(picture.original, request.screen, request.options);
        const bool beyondQt = fullDecodeBytes(stored) > kDecodeBoundBytes;
        if (beyondQt && reader.format() == "png" &&
            reader.transformation() == QImageIOHandler::TransformationNone) {
            const QRect part = picture.layout.shownPart();
            const PngPart png = readPngPart(
                request.path, sourceOf(part, picture.layout.image.size(), picture.original),
                part.size());
            picture.tooLarge = png.interlaced;
            image = png.image;
        } else {
            image = readShownPart(reader, picture.original, picture.layout, turned);
            picture.tooLarge = image.isNull() && beyondQt;
        }
    }
    const QSize part = picture.layout.shownPart().size();
    if (!image.isNull() && image.size() != part) {
        image = image.scaled(part, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    picture.image = std::move(image);
    return picture;
}

}  // namespace marlo
