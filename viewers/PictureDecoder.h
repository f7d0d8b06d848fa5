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

// A decoded picture, already at the size it is shown at; `image` is null when the file could not
// be read.
struct DecodedPicture {
    PictureRequest request;
    QImage image;
    QSize original;
    PictureLayout layout;

    bool ok() const { return !image.isNull(); }
};

// Decodes pictures on a worker thread, at the size they are shown at (a 4000 x 3000 photo fitted
// to the screen never exists at full size in memory when its format can decode scaled, as JPEG
// does), and keeps the last two: the one shown and the one ahead.
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
