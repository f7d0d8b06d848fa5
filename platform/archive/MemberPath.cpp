#include "platform/archive/MemberPath.h"

#include <QDir>
#include <QStringList>

#include "platform/TextCodec.h"

namespace marlo {

QString memberNameFromBytes(const QByteArray& bytes) {
    QString name = decodeText(bytes);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name;
}

bool isSafeMemberName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QChar(0))) {
        return false;
    }
    if (name.size() >= 2 && name[1] == QLatin1Char(':') && name[0].isLetter()) {
        return false;
    }
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.contains(QStringLiteral(".."))) {
        return false;
    }
    const QString cleaned = QDir::cleanPath(name);
    return !cleaned.isEmpty() && cleaned != QStringLiteral(".") && cleaned != QStringLiteral("/");
}

}  // namespace marlo
