#include "MpvVideoPlayer.h"

#include "platform/media/MpvLibrary.h"
#include "platform/media/MpvPlayer.h"

#include <QMetaObject>
#include <cstdlib>

namespace marlo {

namespace {
constexpr size_t kAlignment = 64;
}

MpvVideoPlayer::MpvVideoPlayer(QObject* parent)
    : QObject(parent), player_(std::make_unique<MpvPlayer>(MpvPlayer::Output::SoundAndVideo)) {
    if (!player_->isValid()) {
        return;
    }
    const MpvLibrary* mpv = mpvLibrary();
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv->renderCreate(&context_, player_->handle(), params) < 0) {
        context_ = nullptr;
        return;
    }
    mpv->renderSetUpdateCallback(
        context_,
        [](void* self) {
            auto* video = static_cast<MpvVideoPlayer*>(self);
            // Called on one of mpv's threads, which must not render: the frame is drawn on ours.
            if (!video->updateQueued_.exchange(true)) {
                QMetaObject::invokeMethod(video, &MpvVideoPlayer::onUpdate, Qt::QueuedConnection);
            }
        },
        this);
}

MpvVideoPlayer::~MpvVideoPlayer() {
    // The renderer goes before the handle it was made on.
    if (context_ != nullptr) {
        mpvLibrary()->renderSetUpdateCallback(context_, nullptr, nullptr);
        mpvLibrary()->renderFree(context_);
    }
}

void MpvVideoPlayer::onUpdate() {
    updateQueued_ = false;
    if (context_ != nullptr && (mpvLibrary()->renderUpdate(context_) & MPV_RENDER_UPDATE_FRAME)) {
        emit frameReady();
    }
}

QSize MpvVideoPlayer::videoSize() const {
    if (!player_->isValid() || !player_->isLoaded()) {
        return {};
    }
    int64_t width = 0;
    int64_t height = 0;
    const MpvLibrary* mpv = mpvLibrary();
    if (mpv->getProperty(player_->handle(), "dwidth", MPV_FORMAT_INT64, &width) < 0 ||
        mpv->getProperty(player_->handle(), "dheight", MPV_FORMAT_INT64, &height) < 0 ||
        width <= 0 || height <= 0) {
        return {};
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

bool MpvVideoPlayer::hasPicture() const {
    if (!player_->isValid() || !player_->isLoaded()) {
        return false;
    }
    // The selected video track; "no" (no picture) does not read as a number.
    int64_t track = 0;
    return mpvLibrary()->getProperty(player_->handle(), "vid", MPV_FORMAT_INT64, &track) >= 0 &&
           track > 0;
}

const QImage& MpvVideoPlayer::render(QSize size) {
    if (context_ == nullptr || size.isEmpty()) {
        return frame_;
    }
    if (size != pixelsSize_) {
        const size_t stride =
            (static_cast<size_t>(size.width()) * 4 + kAlignment - 1) / kAlignment * kAlignment;
        frame_ = QImage();
        pixels_.reset(static_cast<uchar*>(
            std::aligned_alloc(kAlignment, stride * static_cast<size_t>(size.height()))));
        if (!pixels_) {
            pixelsSize_ = QSize();
            return frame_;
        }
        pixelsSize_ = size;
        // "bgr0" is Qt's RGB32 in memory on little-endian machines: no conversion to paint it.
        frame_ = QImage(pixels_.get(), size.width(), size.height(), static_cast<qsizetype>(stride),
                        QImage::Format_RGB32);
        frame_.fill(Qt::black);
    }
    int sizeParam[2] = {size.width(), size.height()};
    char format[] = "bgr0";
    size_t stride = static_cast<size_t>(frame_.bytesPerLine());
    int block = 0;  // never wait for the frame's display time on the user-interface thread
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, sizeParam},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, pixels_.get()},
                                 {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpvLibrary()->renderRender(context_, params);
    return frame_;
}

}  // namespace marlo
