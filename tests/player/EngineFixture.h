#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <memory>
#include <ostream>

#include "base/Catalogue.h"
#include "base/Settings.h"
#include "library/LibrarySession.h"
#include "player/DisplayModel.h"
#include "player/EnginePlayerControl.h"
#include "player/PlaybackEngine.h"
#include "tests/player/FakeDevices.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace marlo::test {

// An engine over fake devices and a real library session whose records are saved through the
// store, so the engine reads them as it would at run time. English unless a test switches.
class EngineFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.makeData();
        Catalogue::setLanguage(UiLanguage::English);
    }
    void TearDown() override { Catalogue::setLanguage(UiLanguage::German); }

    QString media(const QString& name) const { return folder.program() + "media/" + name; }
    QString extractFolder() const { return folder.program() + "Extracted/"; }

    // Saves a record; `file` (below media/) is created unless `exists` is false. The path may
    // name an archive member: then it is used as it is.
    void addItem(const QString& title, const QString& file, const QString& type = {},
                 bool exists = true, const QString& artist = "Artist") {
        const QString path = file.contains('|') ? file : media(file);
        if (exists && !file.contains('|')) {
            writeFile(path, "RIFF");
        }
        session->store.putItemRecord({session->kind(), title, path, artist, type});
        ASSERT_TRUE(session->store.commit());
        session->playback.append(title);
    }
    void addItems(const QStringList& titles, const QString& type = {}) {
        for (const QString& title : titles) {
            addItem(title, title + (type == "mod" ? ".mod" : ".wav"), type);
        }
    }
    void select(int index) { session->playback.setSelectedIndex(index); }
    void set(int number, bool on = true) { settings.setOption(number, on ? 1 : 0); }
    int index() const { return session->playback.selectedIndex(); }
    int audioPlays() const { return static_cast<int>(audio.commands().count("play")); }
    int modulePlays() const { return static_cast<int>(modules.log.filter("playModule").size()); }
    // Runs queued calls (deferred commands, deferred readiness) without any waiting.
    static void settle() { QCoreApplication::processEvents(); }

    TempProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<LibrarySession> session =
        std::make_unique<LibrarySession>(folder.data(), prompts);
    Settings settings;
    DisplayModel display;
    FakeMediaDevice audio;
    FakeStreamingControl streaming;
    FakeModuleLibrary modules;
    PlaybackEngine engine{EngineLibrary::of(*session),
                          settings,
                          {audio, streaming, modules},
                          display,
                          folder.program() + "Extracted"};
    // The engine as the library's windows see it.
    EnginePlayerControl control{engine, display};
};

}  // namespace marlo::test
