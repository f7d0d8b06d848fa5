#pragma once

#include <QList>

#include "cd/CdDrive.h"

namespace marlo {

// A table of contents: the start of every track and the lead-out, in frames from the start of
// the disc (track 1 usually starts at 150, after the two-second lead-in).
struct DiscToc {
    QList<int> trackStarts;
    int leadOut = 0;
};

// A drive holding a known table of contents (a disc image, or a disc read elsewhere). It reports
// track lengths the way CD drives do: up to the next track, the last one ending one frame before
// the lead-out.
class TocDrive : public CdDrive {
  public:
    explicit TocDrive(DiscToc toc) : toc_(std::move(toc)) {}

    bool isOpen() const override { return open_; }
    void open() override { open_ = !toc_.trackStarts.isEmpty(); }
    void close() override { open_ = false; }
    int trackCount() const override { return static_cast<int>(toc_.trackStarts.size()); }
    quint32 trackStart(int track) const override;
    quint32 trackLength(int track) const override;

  private:
    DiscToc toc_;
    bool open_ = false;
};

}  // namespace marlo
