#pragma once

#include <QWidget>

#include "viewers/VideoView.h"

namespace marlo {

class Prompts;
class VideoHost;
struct Settings;

// The `VideoPlayer` window: a borderless black window holding the media window `VideoPlay` and
// the streaming control `ActiveMovie1` at its top left. The player starts, pauses and stops the
// video through it; the window sizes and centres itself as the widgets report playing, keeps the
// main window's position display current (tick() from the player's 500 ms timer), parks the main
// window, tells the end of an item once and passes Space, Page Up and Page Down on; Escape closes
// it, which stops the video.
class VideoPlayer : public QWidget {
    Q_OBJECT
  public:
    VideoPlayer(Settings& settings, Prompts& prompts, VideoHost& host, QWidget* parent = nullptr);
    ~VideoPlayer() override;

    // Asks for the zoom factor when option 4 is set with a zoom of 0; false when the answer is
    // 0, empty or cancelled, which stops the item. True at once otherwise.
    bool confirmZoom();
    // Opens the file on the streaming control (option 5) or the media window and, unless
    // loadOnly, sizes and shows the window and plays; false when the file cannot be played.
    bool start(const QString& path, bool loadOnly);
    qint64 length() const;  // milliseconds
    void pause();
    void resume();
    // closeViewer also hides the window.
    void stop(bool closeViewer);
    // Gives the file up after a load without play.
    void release();
    void seek(double fraction);
    // One tick of the position timer while the item plays.
    void tick();

    VideoView& videoPlay() { return videoPlay_; }
    VideoView& activeMovie() { return activeMovie_; }

  protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    VideoView& current();
    bool streaming() const;
    void onVideoPlayState(VideoView::State state);
    void onActiveMovieState(VideoView::State state);
    // Gives the shown widget `picture` and sizes the window around it: full screen with the
    // widget centred (option 2), else the widget's size centred on the screen.
    void place(VideoView& view, QSize picture);
    QRect screenRect() const;

    Settings& settings_;
    Prompts& prompts_;
    VideoHost& host_;
    VideoView videoPlay_;
    VideoView activeMovie_;
    // `VideoPlay` plays the current item: its stop is the end of the item.
    bool mediaWindowBusy_ = false;
};

}  // namespace marlo
