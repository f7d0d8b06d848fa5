#pragma once

// Shared by the fuzz targets: one Qt application for the whole run and a scratch folder for
// the parsers that read files by name.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace marlo::fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A GUI application on the offscreen platform: pictures and sockets need one.
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_LOGGING_RULES", "*=false");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

// The scratch folder, with a trailing separator; removed when the run ends.
inline QString scratch() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/marlo-fuzz-XXXXXX"));
    return dir.path() + QLatin1Char('/');
}

inline QString writeScratch(const QString& name, const QByteArray& content) {
    const QString path = scratch() + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(content);
    }
    return path;
}

}  // namespace marlo::fuzz
