#pragma once

#include <QString>
#include <QWidget>
#include <memory>

namespace marlo {

class MpvVideoPlayer;

// One video widget of the video window: a file played through libmpv and drawn into the widget,
// scaled to the widget's size. The video window has two, the media window `VideoPlay` and the
// streaming control `ActiveMovie1`; the window decides sizes, this widget only plays and draws.
class VideoView : public QWidget {
    Q_OBJECT
  public:
    enum class State { Stopped, Paused, Running };

    explicit VideoView(const QString& name, QWidget* parent = nullptr);
    ~VideoView() override;

    // Loads paused and waits until the file can play; false when it cannot be played.
    bool open(const QString& path);
    // Lets go of the file; the widget turns black.
    void close();
    const QString& fileName() const { return fileName_; }

    void run();
    void pause();
    // Paused at the start.
    void stop();
    State state() const { return state_; }

    double duration() const;  // seconds; 0 when unknown
    double position() const;  // seconds
    void seek(double seconds);
    // The picture's own size with its display proportions; empty without a picture.
    QSize videoSize() const { return videoSize_; }

  signals:
    void stateChanged(marlo::VideoView::State state);
    // The file played to its end; once per run to the end.
    void ended();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    MpvVideoPlayer& video();
    void setState(State state);
    void drawFrame();

    std::unique_ptr<MpvVideoPlayer> video_;
    QString fileName_;
    QSize videoSize_;
    State state_ = State::Stopped;
    bool atEnd_ = false;
};

}  // namespace marlo
