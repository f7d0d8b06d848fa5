#pragma once

#include <QStringList>

#include "base/Settings.h"
#include "platform/ProgramFolders.h"
#include "skins/SkinRegister.h"

namespace marlo {

class Prompts;
class StartupHost;
class ShutdownHost;

// Brings the program up: reads "Set.cfg" into the settings or, on a first run or a damaged
// file, asks for the language and lays down a new configuration; then lets the windows load.
class Startup {
  public:
    enum class Outcome { Normal, FirstRun, Damaged };

    Startup(const ProgramFolders& folders, Settings& settings, Prompts& prompts, StartupHost& host);
    Outcome run();

    // The skin names written on a new configuration, in order.
    static QStringList defaultSkinNames();
    static constexpr const char* kDefaultSkin = SkinRegister::kDefaultSkin;

  private:
    void damagedConfiguration();
    void newConfiguration();
    void writeDefaultSkinFiles(QStringList& skinList);
    bool loadSkinList(QStringList& names) const;
    void chooseLanguage();

    const ProgramFolders& folders_;
    Settings& settings_;
    Prompts& prompts_;
    StartupHost& host_;
};

// Writes "Set.cfg" atomically; a failure is told to the user and gives false.
bool writeSettingsFile(const ProgramFolders& folders, const Settings& settings, Prompts& prompts);

// Takes the program down: stops playback, removes an extracted member, writes "Set.cfg" and
// unloads the windows. The program ends either way; false when the configuration could not be
// written (the user has been told).
bool runShutdown(const ProgramFolders& folders, const Settings& settings, Prompts& prompts,
                 ShutdownHost& host);

}  // namespace marlo
