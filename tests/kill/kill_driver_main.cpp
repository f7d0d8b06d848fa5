// Child process of the kill test: runs one step of a user's session on the library, skins and
// settings files with the program's own classes, and prints "committed <step>" once the step
// is through. The test preloads the kill shim so the process dies at the n-th write.
//
// kill_driver <program folder> <music folder> <step>   (the data folder is the program's Data/)
// Steps: setup, add, rename, delete, second, removecollection, skinsave, settings; and check,
// which prints what a starting program finds (one line per fact) without writing anything.

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include "base/SettingsFile.h"
#include "library/AddFiles.h"
#include "library/CollectionEditor.h"
#include "library/CollectionFile.h"
#include "library/ItemEditor.h"
#include "library/KindListFile.h"
#include "library/LibrarySession.h"
#include "library/OpenKind.h"
#include "library/SaveItem.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Prompts.h"
#include "skins/SkinEditor.h"
#include "skins/SkinLoader.h"
#include "skins/SkinRegister.h"

namespace {

using namespace marlo;

// Answers Yes to every question (the deletes ask) and prints every message for the test's log.
class YesPrompts : public UnattendedPrompts {
  public:
    YesPrompts() : UnattendedPrompts(true) {}
    PromptAnswer message(const QString& title, const QString& text, PromptIcon icon,
                         PromptButtons buttons, PromptAnswer defaultAnswer) override {
        UnattendedPrompts::message(title, text, icon, buttons, defaultAnswer);
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : defaultAnswer;
    }
};

QTextStream out(stdout);

void open(LibrarySession& session, const QString& collection) {
    session.chooser.setText(collection);
    OpenKind(session).run(MediaKind::Audio, CollectionSelection::Current);
}

QStringList musicFiles(const QString& folder, const QString& prefix) {
    QStringList files;
    for (const QString& name :
         QDir(folder).entryList({prefix + QStringLiteral("*.wav")}, QDir::Files, QDir::Name)) {
        files << folder + name;
    }
    return files;
}

bool addFiles(LibrarySession& session, const QString& collection, const QStringList& files) {
    open(session, collection);
    if (!KindListFile(session.paths.kindList(MediaKind::Audio)).contains(collection) &&
        !CollectionEditor(session, {}).createCollection(collection)) {
        return false;
    }
    ItemEditor editor(session);
    AddFiles adder(editor);
    const AddFiles::Report report = adder.addMany(files, EndingCase::Insensitive, false);
    return report.saved == files.size();
}

// Selects `title` in the playback list, as a click in the collection editor does.
bool select(LibrarySession& session, const QString& title) {
    const int row = session.archive.find(title);
    if (row < 0) {
        return false;
    }
    session.playback.append(session.archive.takeAt(row));
    session.playback.setSelectedIndex(session.playback.count() - 1);
    return true;
}

// Saves the default skin's pictures under a new name, as the settings dialog does.
bool saveSkin(const QString& program, Prompts& prompts) {
    SkinEditor editor(program, prompts);
    const IniFile skins(SkinLoader::registerPath(program));
    SkinDraft draft;
    for (int slot = 1; slot <= SkinDraft::kSlots; ++slot) {
        draft.paths[static_cast<size_t>(slot)] =
            skins.read(QStringLiteral("Standard"), SkinDraft::registerKey(slot), {});
    }
    draft.taskColour = QColor(10, 20, 30);
    QStringList list = SkinRegister(program, prompts).readSkinList();
    return editor.save(QStringLiteral("Kill skin"), SkinKind::Strip, draft, list) ==
           SkinEditor::Outcome::Done;
}

// What a starting program sees: the settings, the skin list and register, the kind list,
// every collection's titles and whether each has its record.
int check(const QString& program, LibrarySession& session) {
    QByteArray bytes;
    Settings settings;
    const bool settingsRead = readWholeFile(program + QStringLiteral("Set.cfg"), bytes) &&
                              !SettingsFile::parse(bytes, settings).damaged;
    out << "settings " << (settingsRead ? settings.skinName : QStringLiteral("<damaged>")) << '\n';
    YesPrompts quiet;
    for (const QString& name : SkinRegister(program, quiet).readSkinList()) {
        out << "skin " << name << '\n';
    }
    const IniFile skins(SkinLoader::registerPath(program));
    out << "skinregister " << skins.read(QStringLiteral("Kill skin"), QStringLiteral("Play"), {})
        << '\n';
    if (session.store.open() != ZipStore::OpenState::Ready) {
        out << "store unreadable\n";
        return 1;
    }
    QStringList collections;
    KindListFile(session.paths.kindList(MediaKind::Audio)).read(collections);
    for (const QString& collection : collections) {
        out << "collection " << collection << '\n';
        QStringList titles;
        CollectionFile(session.paths.collection(MediaKind::Audio, collection)).read(titles);
        for (const QString& title : titles) {
            out << "item " << collection << '/' << title << ' '
                << (session.store.hasItem(MediaKind::Audio, title) ? "stored" : "missing") << '\n';
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the skin editor loads pictures
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: kill_driver program music step\n";
        return 2;
    }
    const QString program = args[1], music = args[2], step = args[3];
    const QString data = program + QStringLiteral("Data/");
    YesPrompts prompts;
    LibrarySession session(data, prompts);
    bool ok = false;
    if (step == QLatin1String("check")) {
        return check(program, session);
    } else if (step == QLatin1String("setup")) {
        SkinRegister skins(program, prompts);
        skins.writeDefaults(program);
        Settings settings;
        settings.skinName = QString::fromLatin1(SkinRegister::kDefaultSkin);
        ok = skins.writeSkinList(SkinRegister::defaultSkinNames()) &&
             SettingsFile::write(program + QStringLiteral("Set.cfg"), settings) &&
             addFiles(session, QStringLiteral("Kill"), musicFiles(music, QStringLiteral("Early")));
    } else if (step == QLatin1String("add")) {
        ok = addFiles(session, QStringLiteral("Kill"), musicFiles(music, QStringLiteral("Song")));
    } else if (step == QLatin1String("rename")) {
        open(session, QStringLiteral("Kill"));
        ItemEditor editor(session);
        ok = select(session, QStringLiteral("Song 100"));
        editor.loadItem(QStringLiteral("Song 100"));
        editor.fields.title = QStringLiteral("Renamed song");
        ok = ok && SaveItem(editor).run().result == SaveItem::Result::Saved;
    } else if (step == QLatin1String("delete")) {
        open(session, QStringLiteral("Kill"));
        CollectionEditor editor(session, {});
        ok = select(session, QStringLiteral("Song 150")) &&
             editor.deleteSelectedItem() == CollectionEditor::DeleteResult::Deleted;
    } else if (step == QLatin1String("second")) {
        ok = addFiles(session, QStringLiteral("Gone"), musicFiles(music, QStringLiteral("Other")));
    } else if (step == QLatin1String("removecollection")) {
        open(session, QStringLiteral("Gone"));
        CollectionEditor editor(session, {});
        ok = editor.deleteCollection() == CollectionEditor::DeleteResult::CollectionRemoved;
    } else if (step == QLatin1String("skinsave")) {
        ok = saveSkin(program, prompts);
    } else if (step == QLatin1String("settings")) {
        Settings settings;
        settings.skinName = QStringLiteral("Kill skin");
        ok = SettingsFile::write(program + QStringLiteral("Set.cfg"), settings);
    }
    if (!ok) {
        QTextStream(stderr) << "step " << step << " failed\n";
        return 1;
    }
    out << "committed " << step << '\n';
    return 0;
}
