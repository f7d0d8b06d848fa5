// Writes the desktop entry and the AppStream metainfo of Marlo. The MIME types come from the
// formats the library accepts, so a new ending there reaches "Open with" without a second list.
//
//   desktop_files <marlo.desktop> <metainfo file> <component id> <version> <release date>
//                 [<screenshot.png> <its web address>]
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>
#include <optional>

#include "base/texts/DesktopTexts.h"
#include "desktop/MediaTypes.h"

namespace {

using marlo::TextPair;

QString en(const TextPair& pair) {
    return QString::fromUtf8(pair.en);
}
QString de(const TextPair& pair) {
    return QString::fromUtf8(pair.de);
}

QString xmlText(const QString& text) {
    return text.toHtmlEscaped();
}

QString desktopEntry(const QStringList& mimeTypes) {
    using namespace marlo::texts;
    QString out;
    QTextStream s(&out);
    s << "[Desktop Entry]\n"
      << "Type=Application\n"
      << "Name=Marlo\n"
      << "GenericName=" << en(kDesktopGenericName) << "\n"
      << "GenericName[de]=" << de(kDesktopGenericName) << "\n"
      << "Comment=" << en(kDesktopComment) << "\n"
      << "Comment[de]=" << de(kDesktopComment) << "\n"
      << "Keywords=" << en(kDesktopKeywords) << "\n"
      << "Keywords[de]=" << de(kDesktopKeywords) << "\n"
      << "Icon=marlo\n"
      << "Exec=marlo %F\n"
      << "TryExec=marlo\n"
      << "Terminal=false\n"
      << "Categories=AudioVideo;Audio;Player;\n"
      << "MimeType=" << mimeTypes.join(QLatin1Char(';')) << ";\n";
    return out;
}

struct Screenshot {
    QString url;
    QSize size;
};

QString metainfo(const QStringList& mimeTypes, const QString& id, const QString& version,
                 const QString& date, const std::optional<Screenshot>& screenshot) {
    using namespace marlo::texts;
    QString out;
    QTextStream s(&out);
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<component type=\"desktop-application\">\n"
      << "  <id>" << xmlText(id) << "</id>\n"
      << "  <metadata_license>CC0-1.0</metadata_license>\n"
      << "  <name>Marlo</name>\n"
      << "  <summary>" << xmlText(en(kDesktopComment)) << "</summary>\n"
      << "  <summary xml:lang=\"de\">" << xmlText(de(kDesktopComment)) << "</summary>\n"
      << "  <description>\n"
      << "    <p>" << xmlText(en(kDesktopDescription)) << "</p>\n"
      << "    <p xml:lang=\"de\">" << xmlText(de(kDesktopDescription)) << "</p>\n"
      << "  </description>\n"
      << "  <launchable type=\"desktop-id\">marlo.desktop</launchable>\n"
      << "  <categories>\n"
      << "    <category>AudioVideo</category>\n"
      << "    <category>Audio</category>\n"
      << "    <category>Player</category>\n"
      << "  </categories>\n"
      << "  <provides>\n"
      << "    <binary>marlo</binary>\n";
    for (const QString& type : mimeTypes) {
        s << "    <mediatype>" << xmlText(type) << "</mediatype>\n";
    }
    s << "  </provides>\n";
    if (screenshot) {
        s << "  <screenshots>\n"
          << "    <screenshot type=\"default\">\n"
          << "      <caption>" << xmlText(en(kDesktopScreenshotCaption)) << "</caption>\n"
          << "      <caption xml:lang=\"de\">" << xmlText(de(kDesktopScreenshotCaption))
          << "</caption>\n"
          << "      <image type=\"source\" width=\"" << screenshot->size.width() << "\" height=\""
          << screenshot->size.height() << "\">" << xmlText(screenshot->url) << "</image>\n"
          << "    </screenshot>\n"
          << "  </screenshots>\n";
    }
    s << "  <content_rating type=\"oars-1.1\"/>\n"
      << "  <releases>\n"
      << "    <release version=\"" << version << "\" date=\"" << date << "\"/>\n"
      << "  </releases>\n"
      << "</component>\n";
    return out;
}

bool writeText(const QString& path, const QString& text) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 6 && args.size() != 8) {
        QTextStream(stderr) << "usage: desktop_files <desktop entry> <metainfo> <component id> "
                               "<version> <release date> [<screenshot> <its web address>]\n";
        return 2;
    }
    std::optional<Screenshot> screenshot;
    if (args.size() == 8) {
        const QSize size = QImageReader(args.at(6)).size();
        if (!size.isValid()) {
            QTextStream(stderr) << "cannot read the screenshot " << args.at(6) << "\n";
            return 1;
        }
        screenshot = Screenshot{args.at(7), size};
    }
    const QStringList types = marlo::acceptedMimeTypes();
    if (types.isEmpty()) {
        QTextStream(stderr) << "no MIME type matches the accepted formats\n";
        return 1;
    }
    if (!writeText(args.at(1), desktopEntry(types)) ||
        !writeText(args.at(2), metainfo(types, args.at(3), args.at(4), args.at(5), screenshot))) {
        QTextStream(stderr) << "cannot write the desktop files\n";
        return 1;
    }
    return 0;
}
