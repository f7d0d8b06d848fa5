#include "viewers/PictureDecoder.h"

#include <QImageReader>
#include <QMetaObject>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace marlo {

namespace {
constexpr qsizetype kKept = 2;  // shown and ahead
constexpr int kWorkerNice = 10;

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
    QSize stored = reader.size();
    // A quarter turn from the file's orientation tag swaps the sides the viewer sees.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (stored.isValid()) {
        picture.original = turned ? stored.transposed() : stored;
        picture.layout = layoutPicture(picture.original, request.screen, request.options);
        const QSize shown = picture.layout.image.size();
        if (shown != picture.original && reader.supportsOption(QImageIOHandler::ScaledSize)) {
            reader.setScaledSize(turned ? shown.transposed() : shown);
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return picture;
    }
    if (!stored.isValid()) {
        picture.original = image.size();
        picture.layout = layoutPicture(picture.original, request.screen, request.options);
    }
    const QSize shown = picture.layout.image.size();
    if (image.size() != shown) {
        image = image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    picture.image = std::move(image);
    return picture;
}

}  // namespace marlo
