#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace marlo {

// What is still whole in a zip archive that cannot be opened as one (its central directory cut
// off or damaged): the members are found by walking their local headers from the start, as
// "zip -FF" does, and each is kept only when its data is complete and passes its check.
struct ZipSalvage {
    struct Member {
        QString name;
        QByteArray content;
    };
    QList<Member> whole;  // in archive order
    // Members whose header was found but whose data was cut short or failed its check.
    QStringList damaged;

    static ZipSalvage read(const QString& archivePath);
};

}  // namespace marlo
