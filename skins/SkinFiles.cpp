#include "skins/SkinFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

#include "base/texts/SkinTexts.h"
#include "platform/Files.h"

namespace marlo {
namespace {

QString nativeSeparators(QString path) {
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// The entry of `folder` named `name` in any letter case; empty when there is none.
QString entryIgnoringCase(const QString& folder, const QString& name) {
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return entry;
        }
    }
    return {};
}

}  // namespace

bool isAbsoluteSkinPath(const QString& path) {
    if (path.startsWith(QLatin1Char('/'))) {
        return true;
    }
    return path.size() >= 3 && path[1] == QLatin1Char(':') &&
           (path[2] == QLatin1Char('\\') || path[2] == QLatin1Char('/'));
}

QString resolveSkinPath(const QString& path) {
    const QString plain = nativeSeparators(path);
    if (plain.isEmpty() || QFileInfo::exists(plain)) {
        return plain;
    }
    // Walk the path part by part, matching each part without regard to case.
    const bool absolute = plain.startsWith(QLatin1Char('/'));
    const QStringList parts = plain.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString found = absolute ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        QString next = found + part;
        if (!QFileInfo::exists(next.isEmpty() ? QStringLiteral(".") : next)) {
            const QString entry = entryIgnoringCase(found, part);
            if (entry.isEmpty()) {
                return plain;
            }
            next = found + entry;
        }
        found = next + QLatin1Char('/');
    }
    found.chop(1);
    return found;
}

QImage loadSkinPicture(const QString& path) {
    const QString file = resolveSkinPath(path);
    QImageReader reader(file);
    // Skin pictures are mostly Windows bitmaps. Named as one, Qt's own reader takes it at once;
    // left to guess, Qt first loads every image plugin (and libjpeg) to ask each of them.
    QFile probe(file);
    if (probe.open(QIODevice::ReadOnly) && probe.peek(2) == "BM") {
        reader.setFormat("bmp");
        reader.setAutoDetectImageFormat(false);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        throw SkinError(Catalogue::text(texts::kSkinPictureMissing).arg(path));
    }
    return image;
}

QString designBaseFolder(const QString& designPath) {
    const QString plain = nativeSeparators(designPath);
    const QString yamp = QStringLiteral("Yamp.exe");
    int end = 0;  // the empty prefix: the current folder
    while (end >= 0) {
        const QString prefix = plain.left(end);
        if (fileExists(resolveSkinPath(prefix + yamp))) {
            return prefix;
        }
        const int slash = plain.indexOf(QLatin1Char('/'), end);
        end = slash < 0 ? -1 : slash + 1;
    }
    const int last = plain.lastIndexOf(QLatin1Char('/'));
    return last < 0 ? QString() : plain.left(last + 1);
}

double leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+'))) {
        ++end;
    }
    while (end < t.size() && (t[end].isDigit() || t[end] == QLatin1Char('.'))) {
        ++end;
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok ? value : 0.0;
}

SkinIni::SkinIni(QString path) : path_(std::move(path)) {
    QByteArray bytes;
    exists_ = readWholeFile(resolveSkinPath(path_), bytes);
    document_ = IniDocument::parse(bytes);
}

QString SkinIni::value(const QString& section, const QString& key, const QString& fallback) const {
    return document_.value(section, key, fallback);
}

double SkinIni::number(const QString& section, const QString& key) const {
    const QString text = value(section, key).trimmed();
    bool ok = false;
    const double result = text.toDouble(&ok);
    if (!ok) {
        throw SkinError(Catalogue::text(texts::kSkinNotANumber).arg(path_, section, key, text));
    }
    return result;
}

QColor SkinIni::colour(const QString& section, const QString& key) const {
    const QString text = value(section, key).trimmed();
    bool ok = text.size() >= 6;
    const uint bgr = ok ? text.right(6).toUInt(&ok, 16) : 0;
    if (!ok) {
        throw SkinError(Catalogue::text(texts::kSkinNotAColour).arg(path_, section, key, text));
    }
    return colourFromNumber(bgr);
}

QColor colourFromNumber(qint64 number) {
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

qint64 wholeWithin(double value, qint64 limit) {
    if (std::isnan(value)) {
        return 0;
    }
    const double bound = static_cast<double>(limit);
    return static_cast<qint64>(std::clamp(value, -bound, bound));
}

QColor colourFromValue(const QString& text) {
    constexpr qint64 kColourBits = 0xFFFFFFFF;
    return colourFromNumber(wholeWithin(leadingNumber(text), kColourBits));
}

}  // namespace marlo
