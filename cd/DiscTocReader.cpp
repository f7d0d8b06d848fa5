#include "cd/DiscTocReader.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <QFileInfo>
#include <memory>

namespace marlo {
namespace {

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};

}  // namespace

std::optional<DiscToc> readDiscToc(const QString& source, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error != nullptr) {
            *error = reason;
        }
        return std::nullopt;
    };
    const bool cue = source.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive);
    if (cue && !QFileInfo(source).isFile()) {
        return fail(QStringLiteral("no such file: ") + source);
    }
    // libcdio reports on standard error by itself; the caller gives the one reason.
    cdio_loglevel_default = CDIO_LOG_ERROR;
    const QByteArray path = source.toLocal8Bit();
    std::unique_ptr<CdIo_t, CdioCloser> cdio(cdio_open(path.isEmpty() ? nullptr : path.constData(),
                                                       cue ? DRIVER_BINCUE : DRIVER_DEVICE));
    if (!cdio) {
        return fail(source.isEmpty() ? QStringLiteral("no CD drive found")
                                     : QStringLiteral("cannot open ") + source);
    }
    const track_t first = cdio_get_first_track_num(cdio.get());
    const track_t count = cdio_get_num_tracks(cdio.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
        return fail(QStringLiteral("no audio CD in ") +
                    (source.isEmpty() ? QStringLiteral("the drive") : source));
    }
    DiscToc toc;
    for (track_t track = first; track < first + count; ++track) {
        toc.trackStarts << static_cast<int>(cdio_get_track_lba(cdio.get(), track));
    }
    toc.leadOut = static_cast<int>(cdio_get_track_lba(cdio.get(), CDIO_CDROM_LEADOUT_TRACK));
    if (toc.leadOut <= toc.trackStarts.last()) {
        return fail(QStringLiteral("unreadable table of contents in ") + source);
    }
    return toc;
}

}  // namespace marlo
