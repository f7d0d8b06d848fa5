// Writes a one-collection audio library the way the collection editor leaves it, for scripts
// that start the real program on prepared media.
// Usage: prepare_library [--video] <data folder> <collection> <title>=<path>[=<type tag>] ...
//        (--video: a video collection instead of an audio one)
//        prepare_library --register <program folder>   (the skin register only)
// The program folder (the data folder's parent) gets the skin register of a fresh installation,
// so the program starts with its default skin as a user's does.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include "library/ItemStore.h"
#include "platform/Prompts.h"
#include "skins/SkinRegister.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    const bool video = args.size() > 1 && args[1] == QStringLiteral("--video");
    if (video) {
        args.removeAt(1);
    }
    const marlo::MediaKind kind = video ? marlo::MediaKind::Video : marlo::MediaKind::Audio;
    if (args.size() == 3 && args[1] == QStringLiteral("--register")) {
        marlo::UnattendedPrompts prompts(true);
        marlo::SkinRegister(QDir(args[2]).absolutePath() + QLatin1Char('/'), prompts)
            .writeDefaults();
        return 0;
    }
    if (args.size() < 4) {
        QTextStream(stderr) << "usage: prepare_library <data folder> <collection> "
                               "<title>=<path>[=<type>] ...\n";
        return 2;
    }
    const QString data = QDir(args[1]).absolutePath() + QLatin1Char('/');
    QDir().mkpath(data);
    marlo::UnattendedPrompts prompts(true);
    QDir program(data);
    program.cdUp();
    marlo::SkinRegister(program.absolutePath() + QLatin1Char('/'), prompts).writeDefaults();
    marlo::ItemStore store(data + QStringLiteral("Marlo.zip"), prompts);
    QByteArray titles;
    for (int i = 3; i < args.size(); ++i) {
        const QStringList parts = args[i].split(QLatin1Char('='));
        if (parts.size() < 2) {
            QTextStream(stderr) << "bad item: " << args[i] << "\n";
            return 2;
        }
        store.putItemRecord({kind, parts[0], parts[1], QString(), parts.value(2)});
        titles += parts[0].toUtf8() + "\r\n";
    }
    if (!store.commit()) {
        return 1;
    }
    QFile list(data + (video ? QStringLiteral("Video.dat") : QStringLiteral("Audio.dat")));
    QFile collection(data + QLatin1Char(video ? 'v' : 'a') + args[2] + QStringLiteral(".dat"));
    if (!list.open(QIODevice::WriteOnly) || !collection.open(QIODevice::WriteOnly)) {
        return 1;
    }
    list.write(args[2].toUtf8() + "\r\n");
    collection.write(titles);
    return 0;
}
