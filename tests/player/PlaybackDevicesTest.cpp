// How the engine drives each device: dispatch, failures, pause, archive members, timers.
#include <QFile>

#include "base/TimeText.h"
#include "platform/archive/ZipStore.h"
#include "tests/player/EngineFixture.h"

namespace marlo::test {
namespace {

struct DispatchCase {
    const char* type;
    int option;  // 0: none
    const char* expectedRoute;
};

class Dispatch : public EngineFixture, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(Dispatch, ChoosesTheDeviceByTypeAndOptions) {
    const DispatchCase c = GetParam();
    if (c.option != 0) {
        set(c.option);
    }
    addItem("A", "a.file", c.type);
    engine.play();
    ASSERT_TRUE(engine.state().playing);
    const QString route = c.expectedRoute;
    const QString path = media("a.file");
    if (route == "modules") {
        EXPECT_TRUE(modules.log.contains("loadModule " + path));
        EXPECT_TRUE(audio.commands().isEmpty());
        EXPECT_TRUE(engine.polling());
    } else if (route == "streaming") {
        EXPECT_EQ(streaming.log, QStringList({"file=", "file=" + path, "run"}));
        EXPECT_TRUE(audio.commands().isEmpty());
    } else {
        EXPECT_EQ(audio.deviceType(), route == "module device" ? "M4W_MCI" : "");
        EXPECT_EQ(audio.fileName(), path);
        EXPECT_EQ(audio.commands(), QStringList({"open", "play"}));
        EXPECT_TRUE(streaming.log.isEmpty());
        EXPECT_TRUE(modules.log.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Dispatch,
    ::testing::Values(DispatchCase{"mod", 0, "modules"}, DispatchCase{"MOD", 0, "modules"},
                      DispatchCase{"mod", option::kModulesThroughDevice, "module device"},
                      // Option 5 is for files; a module keeps its own player.
                      DispatchCase{"mod", option::kStreamingOnly, "modules"},
                      DispatchCase{"mp3", 0, "streaming"},
                      DispatchCase{"", option::kStreamingOnly, "streaming"},
                      DispatchCase{"", 0, "audio device"}));

TEST_F(EngineFixture, ModuleStartFollowsTheLibraryOrderWithFilterAndVolume) {
    set(option::kFilterStrong);
    engine.setModuleVolume(250);
    addItem("M", "m.mod", "mod");
    engine.play();
    EXPECT_EQ(modules.log,
              QStringList({"startup", "init", "startBackgroundPlay 100", "openChannels 100",
                           "setAmplification 250", "setOption 10 2", "loadModule " + media("m.mod"),
                           "getModuleInfo", "playModule loop=1"}));
    EXPECT_EQ(display.dauer(), "12 Patterns");
    EXPECT_TRUE(display.vscrollVisible());

    modules.status = {2, 9, 5};
    engine.pollTick();
    EXPECT_EQ(display.posit(), "Patt. 3 - Row 5");
    EXPECT_DOUBLE_EQ(display.barFraction(), 2.0 / 12);

    engine.setModuleVolume(600);
    EXPECT_EQ(modules.log.last(), "setAmplification 600");

    engine.stop();
    EXPECT_EQ(modules.log.mid(modules.log.size() - 3),
              QStringList({"stopModule", "freeModule", "close"}));
    EXPECT_EQ(display.posit(), "Patt. 0 - Row 0");
    EXPECT_FALSE(engine.polling());
    EXPECT_FALSE(display.vscrollVisible());
}

TEST_F(EngineFixture, ModuleThatDoesNotLoadSaysSoAndStops) {
    modules.loadFails = true;
    addItem("M", "m.mod", "mod");
    engine.play();
    EXPECT_EQ(display.titel(), "Konnte Module nicht laden");
    EXPECT_EQ(display.posit(), "Patt. 0 - Row 0");
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(modules.log.last(), "close");
    EXPECT_FALSE(engine.polling());
    Catalogue::setLanguage(UiLanguage::German);
    engine.play();
    EXPECT_EQ(display.titel(), "Konnte Module nicht laden");
}

TEST_F(EngineFixture, DeviceErrorShowsTheMessageAndClosesTheDevice) {
    audio.failing = {"play"};
    addItem("A", "a.wav");
    engine.play();
    EXPECT_EQ(display.titel(), "ERROR: Device not ready");
    EXPECT_EQ(display.dauer(), "");
    EXPECT_EQ(display.interpret(), "");
    EXPECT_EQ(display.play(), ButtonLook::Idle);
    EXPECT_EQ(audio.commands().last(), "close");
    EXPECT_FALSE(engine.state().playing);

    Catalogue::setLanguage(UiLanguage::German);
    engine.play();
    EXPECT_EQ(display.titel(), "FEHLER: Gerät belegt oder nicht verfügbar!");
}

TEST_F(EngineFixture, StreamingFileThatCannotOpenIsADeviceError) {
    streaming.readiness = FakeStreamingControl::Readiness::Fails;
    addItem("A", "a.mp3", "mp3");
    engine.play();
    EXPECT_EQ(display.titel(), "ERROR: Device not ready");
    EXPECT_FALSE(engine.state().playing);
    EXPECT_FALSE(streaming.log.contains("run"));
}

TEST_F(EngineFixture, PauseAndResumeOnTheAudioDevice) {
    addItem("A", "a.wav");
    engine.play();
    engine.pause();
    EXPECT_TRUE(engine.state().paused);
    engine.play();  // Play resumes a paused item
    EXPECT_FALSE(engine.state().paused);
    engine.pause();
    engine.pause();  // so does Pause
    EXPECT_EQ(audio.commands(), QStringList({"open", "play", "pause", "play", "pause", "play"}));
    EXPECT_TRUE(engine.state().playing);
}

TEST_F(EngineFixture, PauseAndResumeOnTheStreamingControl) {
    addItem("A", "a.mp3", "mp3");
    engine.play();
    engine.pause();
    EXPECT_FALSE(streaming.isRunning());
    engine.pause();
    EXPECT_TRUE(streaming.isRunning());
    EXPECT_EQ(streaming.log.mid(2), QStringList({"run", "pause", "run"}));
}

TEST_F(EngineFixture, ClickOnTheBarMovesTheStreamingControlAndRunsItThere) {
    streaming.seconds = 200;
    addItem("A", "a.mp3", "mp3");
    engine.play();
    streaming.log.clear();
    engine.seek(0.25);
    const QString file = streaming.fileName();
    EXPECT_EQ(streaming.log, QStringList({"file=", "file=" + file, "position=50", "run"}));
    EXPECT_TRUE(streaming.isRunning());

    // A file that cannot be given again ends the item with the device error.
    streaming.readiness = FakeStreamingControl::Readiness::Fails;
    engine.seek(0.5);
    EXPECT_EQ(display.titel(), "ERROR: Device not ready");
    EXPECT_FALSE(engine.state().playing);
}

TEST_F(EngineFixture, PausedModuleResumesAtItsSavedPositionAndStillEnds) {
    addItems({"M", "N"}, "mod");
    select(0);
    engine.play();
    modules.status.position = 4;
    engine.pollTick();
    engine.pause();
    EXPECT_FALSE(engine.polling());
    EXPECT_EQ(modules.log.last(), "stopModule");

    engine.play();
    EXPECT_EQ(modules.log.mid(modules.log.size() - 2),
              QStringList({"playModule loop=1", "setPosition 4"}));
    EXPECT_TRUE(engine.polling());
    // Seeking never applies to modules.
    engine.seek(0.5);
    EXPECT_EQ(modules.log.last(), "setPosition 4");

    modules.status.position = 0;
    engine.pollTick();
    EXPECT_EQ(index(), 1) << "the loop back to 0 after resuming still ends the module";
}

TEST_F(EngineFixture, StatusNoticeAndSeekOnTheAudioDevice) {
    audio.fileLength = 60'000;
    addItem("A", "a.wav");
    engine.play();
    EXPECT_EQ(display.dauer(), "01:00 min:sec");
    audio.playPosition = 30'000;
    audio.fireStatus();
    EXPECT_EQ(display.posit(), "00:30 min:sec");
    EXPECT_DOUBLE_EQ(display.barFraction(), 0.5);

    engine.seek(0.25);
    EXPECT_EQ(audio.log.mid(audio.log.size() - 2), QStringList({"from=15000", "play"}));
    EXPECT_DOUBLE_EQ(display.barFraction(), 0.0);

    engine.pause();
    audio.log.clear();
    engine.seek(0.75);
    EXPECT_TRUE(audio.log.isEmpty()) << "no seeking while paused";
}

TEST_F(EngineFixture, MissingFileBlinksAndLoadsOnceItIsBack) {
    addItem("Gone", "gone.wav", {}, false);
    engine.play();
    EXPECT_EQ(display.titel(), "Gone");
    EXPECT_EQ(display.dauer(), "? min:sec");
    EXPECT_EQ(display.posit(), "00:00 min:sec");
    EXPECT_TRUE(engine.blinking());
    EXPECT_TRUE(audio.commands().isEmpty());

    engine.blinkTick();
    EXPECT_EQ(display.titel(), "ERROR: Couldn't find file!");
    engine.blinkTick();
    EXPECT_EQ(display.titel(), "Gone");

    writeFile(media("gone.wav"), "RIFF");
    engine.blinkTick();
    EXPECT_EQ(display.titel(), "File was found!");
    EXPECT_TRUE(audio.commands().isEmpty());
    engine.blinkTick();
    EXPECT_FALSE(engine.blinking());
    EXPECT_EQ(audio.commands(), QStringList({"open", "close"}));
    EXPECT_EQ(display.titel(), "Gone");
    EXPECT_FALSE(engine.state().playing);
}

TEST_F(EngineFixture, MissingFileTextsInGerman) {
    Catalogue::setLanguage(UiLanguage::German);
    addItem("Gone", "gone.wav", {}, false, "Nicht vorhanden");
    engine.play();
    EXPECT_EQ(display.dauer(), "? Min:Sek");
    EXPECT_EQ(display.interpret(), "Unbekannt");
    engine.blinkTick();
    EXPECT_EQ(display.titel(), "FEHLER: Konnte Datei nicht finden!");
    writeFile(media("gone.wav"), "RIFF");
    engine.blinkTick();
    EXPECT_EQ(display.titel(), "Datei wurde gefunden!");
}

class ArchiveMembers : public EngineFixture {
  protected:
    QString archiveWith(const QString& member, const QByteArray& bytes) {
        const QString path = folder.program() + "music.zip";
        ZipStore zip(path);
        zip.open();
        zip.put(member, bytes);
        EXPECT_TRUE(zip.commit());
        return path;
    }
};

TEST_F(ArchiveMembers, ExtractedBeforePlayAndDeletedAtStop) {
    const QString archive = archiveWith("song.wav", "RIFFdata");
    addItem("S", archive + "|song.wav");
    engine.play();
    const QString extracted = extractFolder() + "song.wav";
    EXPECT_EQ(audio.log.filter("file=").value(0), "file=" + extracted);
    EXPECT_EQ(readFile(extracted), "RIFFdata");
    engine.stop();
    EXPECT_FALSE(QFile::exists(extracted));
    EXPECT_TRUE(QFile::exists(archive));
}

TEST_F(ArchiveMembers, MemberOnlyLoadedIsNotExtractedAndHasNoLength) {
    const QString archive = archiveWith("song.wav", "RIFFdata");
    addItem("S", archive + "|song.wav");
    engine.takeOverPlaybackList();
    EXPECT_EQ(display.dauer(), "? min:sec");
    EXPECT_EQ(display.titel(), "S");
    EXPECT_FALSE(QDir(extractFolder()).exists("song.wav"));
    EXPECT_TRUE(audio.commands().isEmpty());
}

TEST_F(ArchiveMembers, MemberNamedLikeTheConfigurationCannotReplaceIt) {
    writeFile(folder.program() + "Set.cfg", "mine");
    const QString archive = archiveWith("Set.cfg", "theirs");
    addItem("S", archive + "|Set.cfg");
    engine.play();
    EXPECT_EQ(readFile(folder.program() + "Set.cfg"), "mine");
    engine.stop();
    EXPECT_EQ(readFile(folder.program() + "Set.cfg"), "mine");
}

TEST_F(EngineFixture, ButtonPressedWhileWaitingForTheControlRunsAfterTheStart) {
    streaming.readiness = FakeStreamingControl::Readiness::Deferred;
    addItems({"A", "B"}, "mp3");
    select(0);
    // Queued before the control becomes ready, so it arrives during the engine's wait.
    QTimer::singleShot(0, &engine, [this] { engine.stop(); });
    engine.play();
    EXPECT_TRUE(engine.state().playing) << "the start completed undisturbed";
    EXPECT_EQ(streaming.log.last(), "run");
    settle();
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(streaming.log.last(), "file=");
    EXPECT_EQ(display.play(), ButtonLook::Idle);
}

struct UnavailableCase {
    MediaKind kind;
    const char* english;
    const char* german;
};

class UnavailableRoute : public EngineFixture,
                         public ::testing::WithParamInterface<UnavailableCase> {};

TEST_P(UnavailableRoute, SaysSoInsteadOfPlaying) {
    const UnavailableCase c = GetParam();
    session->chooser.setKind(c.kind);
    if (c.kind == MediaKind::CdAudio) {
        session->playback.append("01  Track one");
    } else {
        addItem("X", "x.file");
    }
    engine.play();
    EXPECT_EQ(display.titel(), c.english);
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(display.play(), ButtonLook::Idle);
    EXPECT_TRUE(audio.commands().isEmpty());
    Catalogue::setLanguage(UiLanguage::German);
    engine.play();
    EXPECT_EQ(display.titel(), c.german);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnavailableRoute,
    ::testing::Values(
        UnavailableCase{MediaKind::CdAudio, "CD playback is not available in this version",
                        "CD-Wiedergabe ist in dieser Version nicht verfügbar"},
        UnavailableCase{MediaKind::Video, "Video playback is not available in this version",
                        "Video-Wiedergabe ist in dieser Version nicht verfügbar"},
        UnavailableCase{MediaKind::Pictures, "The picture viewer is not available in this version",
                        "Die Bildanzeige ist in dieser Version nicht verfügbar"}));

}  // namespace
}  // namespace marlo::test
