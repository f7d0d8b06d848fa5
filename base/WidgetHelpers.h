#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

namespace marlo {

// Gives a widget the name the design gave it: tests, the caption switch and anyone reading the
// code find it by that name.
template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The local files and folders of a drop, in the order dropped; links and other data are left
// out. Empty for no data.
QStringList localFilesOf(const QMimeData* data);

}  // namespace marlo
