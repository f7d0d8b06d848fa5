// Child process of the library's crash trials: adds many items through the batch path of
// SaveItem, as adding a folder does, and is killed at a random moment by the test.
//
// store_writer <data folder> <collection name> <item count> <flush interval ms> <path tag>

#include <QCoreApplication>
#include <QTextStream>

#include "library/ItemEditor.h"
#include "library/LibrarySession.h"
#include "library/OpenKind.h"
#include "library/SaveItem.h"
#include "platform/Prompts.h"

namespace {}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        QTextStream(stderr) << "usage: store_writer data collection count intervalMs tag\n";
        return 2;
    }
    const QString collection = args[2];
    const int count = args[3].toInt();
    const QString tag = args[5];

    // Prints what a user would have seen; the test reads it when a trial fails.
    marlo::UnattendedPrompts prompts(true);
    marlo::LibrarySession session(args[1], prompts);
    marlo::ItemEditor editor(session);
    session.writer.setFlushInterval(args[4].toLongLong());
    session.chooser.setText(collection);
    marlo::OpenKind openKind(session);
    openKind.run(marlo::MediaKind::Audio, marlo::CollectionSelection::Current);

    marlo::SaveBatch batch(session.writer);
    for (int i = 0; i < count; ++i) {
        editor.fields.title = QStringLiteral("Song %1").arg(i, 5, 10, QLatin1Char('0'));
        editor.fields.path = QStringLiteral("/music/%1/song_%2.mp3").arg(tag).arg(i);
        editor.fields.artist = QStringLiteral("Artist %1").arg(i % 97);
        const auto outcome = marlo::SaveItem(editor).run();
        if (outcome.result != marlo::SaveItem::Result::Saved) {
            return 1;
        }
    }
    if (!batch.finish()) {
        return 1;
    }
    QTextStream(stdout) << "done\n";
    return 0;
}
