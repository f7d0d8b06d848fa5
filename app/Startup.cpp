#include "app/Startup.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <ctime>

#include "app/StartupHost.h"
#include "base/SettingsFile.h"
#include "base/WriteErrorText.h"
#include "base/texts/StartupTexts.h"
#include "cd/CdServerList.h"
#include "lyrics/LyricsServerList.h"
#include "platform/Files.h"
#include "platform/Prompts.h"
#include "platform/TextCodec.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "skins/SkinRegister.h"

namespace marlo {
namespace {

const QString kSettingsFile = QStringLiteral("Set.cfg");
const QString kSkinNames = QStringLiteral("SkinName.ini");
const QString kItemStore = QStringLiteral("Marlo.zip");

int indexIgnoringCase(const QStringList& list, const QString& name) {
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

Startup::Startup(const ProgramFolders& folders, Settings& settings, Prompts& prompts,
                 StartupHost& host)
    : folders_(folders), settings_(settings), prompts_(prompts), host_(host) {}

QStringList Startup::defaultSkinNames() {
    return SkinRegister::defaultSkinNames();
}

Startup::Outcome Startup::run() {
    host_.sizeToBackground();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    host_.fillServerLists(cdDatabaseServers(), lyricsServers(folders_.program));

    const QString settingsPath = folders_.program + kSettingsFile;
    if (!fileExists(settingsPath)) {
        chooseLanguage();
        newConfiguration();
        return Outcome::FirstRun;
    }

    QByteArray bytes;
    const bool readable = readWholeFile(settingsPath, bytes);
    const SettingsFile::ReadResult read =
        readable ? SettingsFile::parse(bytes, settings_) : SettingsFile::ReadResult{true, 0};
    if (read.languageRead) {
        Catalogue::setLanguage(settings_.language);
    }
    QStringList skins;
    if (read.damaged || !loadSkinList(skins)) {
        damagedConfiguration();
        return Outcome::Damaged;
    }

    // A position saved on a larger screen could put the window out of reach: bring it back.
    const QRect saved(
        QPoint(twipsToPixels(settings_.windowLeft), twipsToPixels(settings_.windowTop)),
        host_.windowSize());
    if (!saved.intersects(host_.screenGeometry())) {
        const QPoint centre = centreOnScreen(host_.windowSize(), host_.screenGeometry());
        settings_.windowLeft = static_cast<float>(pixelsToTwips(centre.x()));
        settings_.windowTop = static_cast<float>(pixelsToTwips(centre.y()));
    }
    host_.moveWindowTwips(settings_.windowLeft, settings_.windowTop);
    host_.setSkinList(skins, indexIgnoringCase(skins, settings_.skinName));
    host_.setZoomFieldEnabled(read.zoomFieldEnabled);
    host_.applySkin();
    host_.showInitialImages();
    if (settings_.language == UiLanguage::English) {
        host_.applyEnglishCaptions();
    }
    if (settings_.isSet(option::kStartMinimised)) {
        host_.minimise();
    }
    host_.loadCollectionEditor(true);
    return Outcome::Normal;
}

bool Startup::loadSkinList(QStringList& names) const {
    QByteArray bytes;
    if (!readWholeFile(folders_.program + kSkinNames, bytes)) {
        return false;
    }
    for (const QByteArray& line : splitLines(bytes)) {
        names << decodeText(line);
    }
    return true;
}

void Startup::chooseLanguage() {
    settings_.language = host_.chooseLanguage(settings_.language);
    Catalogue::setLanguage(settings_.language);
}

void Startup::damagedConfiguration() {
    // The damaged file is replaced when the program ends; keep the user's copy beside it.
    const QString settingsPath = folders_.program + kSettingsFile;
    const QString keep = settingsPath + QStringLiteral(".damaged");
    QFile::remove(keep);
    QFile::copy(settingsPath, keep);

    prompts_.inform(Catalogue::title(texts::kConfigDamaged), Catalogue::body(texts::kConfigDamaged),
                    PromptIcon::Information);
    chooseLanguage();
    newConfiguration();
}

void Startup::newConfiguration() {
    if (!fileExists(folders_.data + kItemStore)) {
        prompts_.inform(Catalogue::title(texts::kNewDatabase), Catalogue::body(texts::kNewDatabase),
                        PromptIcon::Information);
        QDir().mkpath(folders_.data);
    }

    const QPoint centre = centreOnScreen(host_.windowSize(), host_.screenGeometry());
    settings_.windowLeft = static_cast<float>(pixelsToTwips(centre.x()));
    settings_.windowTop = static_cast<float>(pixelsToTwips(centre.y()));
    host_.moveWindowTwips(settings_.windowLeft, settings_.windowTop);

    settings_.setOption(option::kFilterAuto, 1);
    settings_.setOption(option::kPositionBar, 1);

    QStringList skins;
    writeDefaultSkinFiles(skins);
    settings_.skinName = QString::fromLatin1(kDefaultSkin);

    host_.setSkinList(skins, indexIgnoringCase(skins, settings_.skinName));
    host_.applySkin();
    host_.showInitialImages();
    host_.hideModuleVolumeBars();
    host_.setTitleText(tr(texts::kNoFileToPlay));
    if (settings_.language == UiLanguage::English) {
        host_.applyEnglishCaptions();
    }
    host_.openReadme(folders_.assets + QStringLiteral("readme.txt"));
    host_.loadCollectionEditor(false);
}

void Startup::writeDefaultSkinFiles(QStringList& skinList) {
    SkinRegister(folders_.program, prompts_).writeDefaults(folders_.assets);

    // The list starts anew with the two default skins; skins the user imported earlier stay
    // listed after them, since their register sections are still there.
    skinList = defaultSkinNames();
    QStringList previous;
    if (loadSkinList(previous)) {
        for (const QString& name : previous) {
            if (!name.trimmed().isEmpty() && indexIgnoringCase(skinList, name) < 0) {
                skinList << name;
            }
        }
    }
    if (!writeFileAtomically(folders_.program + kSkinNames, joinLines(skinList))) {
        prompts_.inform(QString(), writeErrorText(), PromptIcon::None);
    }
}

bool writeSettingsFile(const ProgramFolders& folders, const Settings& settings, Prompts& prompts) {
    if (SettingsFile::write(folders.program + kSettingsFile, settings)) {
        return true;
    }
    prompts.message(Catalogue::title(texts::kConfigWriteError),
                    Catalogue::body(texts::kConfigWriteError), PromptIcon::None, PromptButtons::Ok,
                    PromptAnswer::Ok);
    return false;
}

bool runShutdown(const ProgramFolders& folders, const Settings& settings, Prompts& prompts,
                 ShutdownHost& host) {
    host.stopPlayback();
    host.deleteExtractedMember();
    const bool written = writeSettingsFile(folders, settings, prompts);
    // A window left loaded would keep the program running without its main window.
    host.unloadOtherWindows();
    host.releaseWindowShape();
    return written;
}

}  // namespace marlo
