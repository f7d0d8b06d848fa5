// Skin files: the first byte says which file the rest is — a design file (0), the skin register
// "Skins.ini" (1) or the skin list "SkinName.ini" (2). Each is selected and applied as the
// program does; a bad skin fails with SkinError, never with a crash.
#include <QColor>
#include <QImage>

#include "skins/SkinFiles.h"
#include "skins/SkinLoader.h"
#include "skins/SkinRegister.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

using namespace marlo;

// A program folder with a design skin's base folder and a few pictures the inputs may name.
QString programFolder() {
    static const QString folder = [] {
        const QString program = fuzz::scratch() + QStringLiteral("program/");
        const QString skin = program + QStringLiteral("Yamp/Skins/Ocean/");
        QDir().mkpath(skin);
        fuzz::writeScratch(QStringLiteral("program/Yamp/Yamp.exe"), "not a program");
        QImage back(200, 100, QImage::Format_RGB32);
        back.fill(Qt::darkGray);
        back.save(skin + QStringLiteral("back.bmp"));
        QImage button(20, 12, QImage::Format_RGB32);
        button.fill(Qt::magenta);
        button.save(skin + QStringLiteral("b.bmp"));
        QImage strip(300, 60, QImage::Format_RGB32);
        strip.fill(Qt::green);
        strip.save(skin + QStringLiteral("s.bmp"));
        return program;
    }();
    return folder;
}

void selectAndApply(SkinLoader& loader, const QString& name) {
    for (auto pictures : {SkinLoader::Pictures::Required, SkinLoader::Pictures::Spared}) {
        try {
            loader.SelectSkin(name, Qt::black, pictures);
            loader.ApplySkin({true, true});
            loader.ApplySkin({false, false});
        } catch (const SkinError&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    fuzz::ensureApplication();
    static test::ScriptedPrompts prompts;
    const QString program = programFolder();
    const QByteArray content = fuzz::bytes(data + 1, size - 1);
    const QString designPath = program + QStringLiteral("Yamp/Skins/Ocean/Ocean.design");
    SkinLoader loader(program);
    switch (data[0] % 3) {
        case 0: {
            fuzz::writeScratch(QStringLiteral("program/Yamp/Skins/Ocean/Ocean.design"), content);
            fuzz::writeScratch(QStringLiteral("program/Skins.ini"),
                               "[Fuzz]\r\nDesignPath=" + designPath.toUtf8() + "\r\nTask=255\r\n");
            selectAndApply(loader, QStringLiteral("Fuzz"));
            try {
                SkinIni(designPath)
                    .colour(QStringLiteral("Label SongName"), QStringLiteral("FontColor"));
            } catch (const SkinError&) {
            }
            break;
        }
        case 1: {
            fuzz::writeScratch(QStringLiteral("program/Skins.ini"), content);
            const QStringList names = IniDocument::parse(content).sectionNames();
            for (qsizetype i = 0; i < names.size() && i < 3; ++i) {
                selectAndApply(loader, names[i]);
            }
            loader.missingPictures(names.value(0));
            break;
        }
        default: {
            fuzz::writeScratch(QStringLiteral("program/SkinName.ini"), content);
            const SkinRegister skins(program, prompts);
            QStringList list = skins.readSkinList();
            for (qsizetype i = 0; i < list.size() && i < 3; ++i) {
                selectAndApply(loader, list[i]);
            }
            YampImport::skinName(QString::fromUtf8(content));
            break;
        }
    }
    prompts.shown.clear();
    return 0;
}
