#include "skins/SkinRegister.h"

#include "base/IniAccess.h"
#include "base/WriteErrorText.h"
#include "base/texts/SkinTexts.h"
#include "base/texts/StartupTexts.h"
#include "platform/Files.h"
#include "platform/Prompts.h"
#include "platform/TextCodec.h"
#include "skins/SkinFiles.h"
#include "skins/SkinLoader.h"

namespace marlo {
namespace {

struct IniEntry {
    const char* section;
    const char* key;
    const char* value;
    bool isPicture;  // written as a full path below the assets folder
};

constexpr IniEntry kDefaultRegister[] = {
    {"All Controls", "Minibut", "270,380", false},
    {"All Controls", "Nextbut", "4210,920", false},
    {"All Controls", "Pausebut", "2320,920", false},
    {"All Controls", "Playbut", "1270,920", false},
    {"All Controls", "Previousbut", "3630,920", false},
    {"All Controls", "Schliessenbut", "270,150", false},
    {"All Controls", "Setupbut", "270,610", false},
    {"All Controls", "Songbut", "270,920", false},
    {"All Controls", "Stopbut", "2910,920", false},
    {"All Controls", "Vscroll1", "5030,170,200,1220", false},
    {"All Controls", "Titel", "1300,240,3495,240", false},
    {"All Controls", "Font", "Arial", false},
    {"All Controls", "Color", "65535", false},
    {"All Controls", "Size", "8", false},
    {"Vantel's Design", "Background", "Bilder/Vantel/Background2.bmp", true},
    {"Vantel's Design", "Play", "Bilder/Vantel/Play2.bmp", true},
    {"Vantel's Design", "Stop", "Bilder/Vantel/Stop2.bmp", true},
    {"Vantel's Design", "Seek", "Bilder/Vantel/Seek2.bmp", true},
    {"Vantel's Design", "Open", "Bilder/Vantel/Open2.bmp", true},
    {"Vantel's Design", "Functions", "Bilder/Vantel/Function2.bmp", true},
    {"Standard", "Background", "Bilder/Corro/Background.bmp", true},
    {"Standard", "Task", "Bilder/Corro/Taskbar.bmp", true},
    {"Standard", "Play", "Bilder/Corro/Play.bmp", true},
    {"Standard", "Stop", "Bilder/Corro/Stop.bmp", true},
    {"Standard", "Seek", "Bilder/Corro/Seek.bmp", true},
    {"Standard", "Open", "Bilder/Corro/Open.bmp", true},
    {"Standard", "Functions", "Bilder/Corro/Function.bmp", true},
};

// Empty when the file reads as a design file: every design skin lays a background picture.
QString designRefusal(const QString& designPath) {
    const SkinIni design(designPath);
    if (!design.exists()) {
        return Catalogue::text(texts::kSkinDesignMissing).arg(designPath);
    }
    if (design.value(QStringLiteral("General"), QStringLiteral("Bitmap")).trimmed().isEmpty()) {
        return Catalogue::body(texts::kDesignNotImported).arg(designPath);
    }
    return {};
}

}  // namespace

SkinRegister::SkinRegister(QString programFolder, Prompts& prompts)
    : programFolder_(std::move(programFolder)), prompts_(prompts) {}

void SkinRegister::writeDefaults(const QString& assetsFolder) const {
    const QString path = SkinLoader::registerPath(programFolder_);
    for (const IniEntry& e : kDefaultRegister) {
        const QString value =
            e.isPicture ? assetsFolder + QString::fromUtf8(e.value) : QString::fromUtf8(e.value);
        WriteIniValue(prompts_, QString::fromUtf8(e.section), QString::fromUtf8(e.key), value,
                      path);
    }
}

QStringList SkinRegister::readSkinList(bool* readable) const {
    QByteArray bytes;
    const bool ok = readWholeFile(SkinLoader::skinListPath(programFolder_), bytes);
    if (readable != nullptr) {
        *readable = ok;
    }
    QStringList names;
    for (const QByteArray& line : splitLines(bytes)) {
        names << decodeText(line);
    }
    return names;
}

bool SkinRegister::writeSkinList(const QStringList& names) const {
    if (writeFileAtomically(SkinLoader::skinListPath(programFolder_), joinLines(names))) {
        return true;
    }
    prompts_.inform(QString(), writeErrorText(), PromptIcon::None);
    return false;
}

bool SkinRegister::appendToSkinList(const QString& name) const {
    QStringList names = readSkinList();
    names << name;
    return writeSkinList(names);
}

bool SkinRegister::registerDesign(const QString& name, const QString& designPath,
                                  const QColor& task) const {
    const QString path = SkinLoader::registerPath(programFolder_);
    return WriteIniValue(prompts_, name, QStringLiteral("DesignPath"), designPath, path) &&
           WriteIniValue(prompts_, name, QStringLiteral("Task"),
                         QString::number(colourNumber(task)), path);
}

QString YampImport::skinName(const QString& designPath) {
    const int slash = std::max(designPath.lastIndexOf(QLatin1Char('\\')),
                               designPath.lastIndexOf(QLatin1Char('/')));
    const QString file = designPath.mid(slash + 1);
    const int dot = file.indexOf(QLatin1Char('.'));
    return dot < 0 ? file : file.left(dot);
}

YampImport::Result YampImport::run(const QString& designPath, const QColor& taskColour,
                                   const SkinRegister& skins, QStringList& skinList) {
    Result result;
    result.name = skinName(designPath);
    if (result.name.isEmpty()) {
        return result;
    }
    // Exact comparison: an existing registration stays, whatever design file it names.
    result.listIndex = static_cast<int>(skinList.indexOf(result.name));
    if (result.listIndex >= 0) {
        return result;
    }
    if (const QString refusal = designRefusal(designPath); !refusal.isEmpty()) {
        result.refusal = refusal;
        result.listIndex = -1;
        return result;
    }
    if (!skins.registerDesign(result.name, designPath, taskColour) ||
        !skins.appendToSkinList(result.name)) {
        return result;
    }
    skinList << result.name;
    result.listIndex = static_cast<int>(skinList.size() - 1);
    result.registered = true;
    return result;
}

qint64 colourNumber(const QColor& colour) {
    return static_cast<qint64>(colour.red()) | (static_cast<qint64>(colour.green()) << 8) |
           (static_cast<qint64>(colour.blue()) << 16);
}

}  // namespace marlo
