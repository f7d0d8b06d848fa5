#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>

#include "viewers/PictureLayout.h"

namespace marlo {

// A picture as it is to be shown: the file, the options and the screen it is laid out for.
struct PictureRequest {
    QString path;
    PictureOptions options;
    QSize screen;

    bool operator==(const PictureRequest&) const = default;
};

// A decoded picture: the part of it in the window (the layout's shown part), at the size it is
// shown at. `image` is null when the file could not be read; `tooLarge` then tells that it is a
// picture, but one too large to decode.
struct DecodedPicture {
    PictureRequest request;
    QImage image;
    QSize original;
    PictureLayout layout;
    bool tooLarge = false;

    bool ok() const { return !image.isNull(); }
};

// Decodes pictures on a worker thread, and keeps the last two: the one shown and the one ahead.
// Only the part in the window is decoded, at the size it is shown at. A decode at full size never
// takes more than Qt's allocation limit of 128 MB: a larger JPEG decodes scaled, a larger PNG is
// read row by row into the part shown (one row of the file and at most a screenful in memory),
// and any other larger picture is told to be too large.
class PictureDecoder : public QObject {
    Q_OBJECT
  public:
    explicit PictureDecoder(QObject* parent = nullptr);
    // Waits for the decode under way; queued ones are dropped.
    ~PictureDecoder() override;

    // The picture when it is decoded and kept.
    std::optional<DecodedPicture> find(const PictureRequest& request) const;
    // Decodes the picture unless it is kept or under way; `decoded` tells when it is ready.
    // `urgent` drops the queued decodes of other pictures first: they are no longer wanted.
    void request(const PictureRequest& request, bool urgent);

    // The decode itself, on any thread.
    static DecodedPicture decode(const PictureRequest& request);

  signals:
    void decoded(const DecodedPicture& picture);

  private:
    struct Job {
        PictureRequest request;
        std::shared_ptr<std::atomic<bool>> dropped;
    };
    void finished(const DecodedPicture& picture, const std::shared_ptr<std::atomic<bool>>& dropped);

    QList<Job> jobs_;
    QList<DecodedPicture> kept_;
    QThreadPool pool_;
};

}  // namespace marlo
