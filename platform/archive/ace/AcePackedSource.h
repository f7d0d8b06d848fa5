#pragma once

#include <QFile>
#include <QList>
#include <QString>

namespace marlo::ace {

// Where one piece of a member's packed data lies; a member continued over volumes has several.
struct AceSegment {
    QString volumePath;
    qint64 offset = 0;
    qint64 size = 0;
};

// Reads a member's packed bytes in order across its segments, one volume file open at a time.
class PackedSource {
  public:
    explicit PackedSource(QList<AceSegment> segments);

    // Copies up to `size` bytes; 0 means all segments are used up. A volume that cannot be
    // opened or read throws CannotOpen / Damaged.
    qsizetype read(char* destination, qsizetype size);

    qint64 totalSize() const { return total_; }

  private:
    void openNext();

    QList<AceSegment> segments_;
    qsizetype next_ = 0;
    QFile file_;
    qint64 leftInSegment_ = 0;
    qint64 total_ = 0;
};

}  // namespace marlo::ace
