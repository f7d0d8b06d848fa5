// Draws the pictures of the two default skins, "Standard" (Bilder/Corro) and "Vantel's Design"
// (Bilder/Vantel), into the given Bilder folder.
//
//   skin_art <Bilder folder>

#include <QCoreApplication>
#include <QTextStream>

#include "tools/skinart/SkinStyle.h"
#include "tools/skinart/SkinWriter.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: skin_art <Bilder folder>\n";
        return 2;
    }
    for (const auto& style : {marlo::skinart::standardStyle(), marlo::skinart::vantelStyle()}) {
        QString error;
        const QStringList written = marlo::skinart::writeSkin(style, args.at(1), error);
        if (written.isEmpty()) {
            err << error << "\n";
            return 1;
        }
        QTextStream(stdout) << written.join(QLatin1Char('\n')) << "\n";
    }
    return 0;
}
