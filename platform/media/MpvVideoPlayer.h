#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <atomic>
#include <memory>

struct mpv_render_context;

namespace marlo {

class MpvPlayer;

// An MpvPlayer with a picture: libmpv's software renderer draws each frame into an image of the
// size the window asks for. Software, not OpenGL: with Mesa's software OpenGL (a virtual X
// server, a machine without a GPU driver) a 640 x 480 video at 25 frames a second cost 7.5 to
// 7.9 CPU seconds in 20 s through the OpenGL render API into a QOpenGLWidget, and 2.2 to 2.3 s
// this way; both frames and window stay in ordinary memory, so nothing waits on a GPU.
class MpvVideoPlayer : public QObject {
    Q_OBJECT
  public:
    explicit MpvVideoPlayer(QObject* parent = nullptr);
    ~MpvVideoPlayer() override;

    // False when libmpv is missing or refused the renderer.
    bool isValid() const { return context_ != nullptr; }
    MpvPlayer& player() { return *player_; }
    const MpvPlayer& player() const { return *player_; }

    // Size of the loaded video's picture with its display proportions; empty for a file without
    // one (sound only) or before a file is loaded.
    QSize videoSize() const;
    // The loaded file has a picture to show.
    bool hasPicture() const;

    // Draws the current frame at `size` (physical pixels) into the returned image.
    const QImage& render(QSize size);
    // The last image drawn; null before the first.
    const QImage& lastFrame() const { return frame_; }

  signals:
    // A new frame is due: render() it.
    void frameReady();

  private:
    void onUpdate();

    std::unique_ptr<MpvPlayer> player_;
    mpv_render_context* context_ = nullptr;
    std::atomic_bool updateQueued_ = false;
    // 64-byte aligned pixels, as mpv's converters want them; frame_ wraps them.
    std::unique_ptr<uchar, void (*)(void*)> pixels_{nullptr, &std::free};
    QSize pixelsSize_;
    QImage frame_;
};

}  // namespace marlo
