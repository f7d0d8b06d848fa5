#pragma once

#include <QTimer>
#include <QWidget>
#include <optional>

#include "viewers/PictureDecoder.h"
#include "viewers/PictureLayout.h"

class QLabel;

namespace marlo {

// The picture viewer: a borderless black window with the picture `Image1` and the slideshow
// timer `Slideshow`. Pictures decode on a worker thread; the window shows a picture once it is
// decoded and only then starts the slideshow's pause, so a slow decode never shortens it. A file
// that cannot be decoded shows a message instead, and the slideshow goes on past it.
class DisplayPic : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kStandardIntervalMs = 2000;

    explicit DisplayPic(QWidget* parent = nullptr);
    ~DisplayPic() override;

    // Presents the picture as the options want it; with `slideshow` the timer runs once it shows.
    void present(const QString& path, const PictureOptions& options, bool slideshow);
    // Decodes a picture ahead, for the next present().
    void prefetch(const QString& path, const PictureOptions& options);
    // Stops the slideshow; `close` also hides the window and forgets a picture still decoding.
    void stopShow(bool close);
    void pauseShow();
    void resumeShow();
    void setInterval(int ms) { slideshow_.setInterval(ms); }

    const QTimer& slideshowTimer() const { return slideshow_; }
    // The factor of the screen fit; -1 when the picture is not fitted to the screen.
    double scaleFactor() const { return layout_.factor; }
    const PictureLayout& layout() const { return layout_; }
    // A picture is being decoded for showing.
    bool waiting() const { return wanted_.has_value(); }

  signals:
    // One pause of the slideshow has passed.
    void slideshowTick();
    // Enter or Escape: the show ends.
    void endShowRequested();
    // Space, Page Up, Page Down as the main window's key codes.
    void keyForwarded(int code);
    // The picture (or its message) is on view.
    void pictureShown(const QString& path);
    void pictureFailed(const QString& path);

  protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    PictureRequest requestFor(const QString& path, const PictureOptions& options) const;
    QRect screenRect() const;
    void onDecoded(const DecodedPicture& picture);
    void showPicture(const DecodedPicture& picture);
    void showFailure(const DecodedPicture& picture);
    void placeWindow(const PictureLayout& layout);
    void startShowIfWanted();

    QLabel* image_ = nullptr;
    QTimer slideshow_;
    PictureDecoder decoder_;
    std::optional<PictureRequest> wanted_;
    PictureLayout layout_;
    PictureDrag drag_;
    bool slideshowWanted_ = false;
    bool paused_ = false;
};

}  // namespace marlo
