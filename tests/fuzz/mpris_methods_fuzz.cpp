// MPRIS methods and the Volume property with the arguments a bus client may send: the input is a
// series of calls, each an operation byte, a 64-bit number (offsets, positions) and a short text
// (track ids, URIs), made on the player's adaptor over an engine that plays a list of three items
// on fake devices.
#include <QDBusObjectPath>
#include <cstring>

#include "base/Settings.h"
#include "desktop/Mpris.h"
#include "desktop/MprisAdaptors.h"
#include "library/LibrarySession.h"
#include "player/DisplayModel.h"
#include "player/PlaybackEngine.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/player/FakeDevices.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

using namespace marlo;

struct Player : MprisHost {
    test::ScriptedPrompts prompts;
    LibrarySession session{fuzz::scratch() + QStringLiteral("data/"), prompts};
    Settings settings;
    DisplayModel display_;
    test::FakeMediaDevice audio;
    test::FakeStreamingControl streaming;
    test::FakeModuleLibrary modules;
    PlaybackEngine engine_{EngineLibrary::of(session),
                           settings,
                           {audio, streaming, modules},
                           display_,
                           fuzz::scratch() + QStringLiteral("Extracted")};
    Mpris mpris{*this};
    MprisPlayer* adaptor = new MprisPlayer(mpris);

    Player() {
        QDir().mkpath(fuzz::scratch() + QStringLiteral("data"));
        audio.fileLength = 60000;
        for (const char* title : {"One", "Two", "Three"}) {
            const QString path =
                fuzz::writeScratch(QString::fromLatin1(title) + QStringLiteral(".wav"), "RIFF");
            session.store.putItemRecord({MediaKind::Audio, QString::fromLatin1(title), path,
                                         QStringLiteral("Artist"), QString()});
            session.playback.append(QString::fromLatin1(title));
        }
        session.store.commit();
    }
    PlaybackEngine* engine() override { return &engine_; }
    DisplayModel& display() override { return display_; }
    void raise() override {}
    void quit() override {}
    void open(const QStringList&) override {}
    LibrarySession* library() override { return &session; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    static Player* player = new Player;
    MprisPlayer& methods = *player->adaptor;
    player->session.playback.setSelectedIndex(0);
    methods.Play();
    for (size_t at = 0; at + 10 <= size && at < 400;) {
        const uint8_t op = data[at];
        qint64 number = 0;
        std::memcpy(&number, data + at + 1, sizeof number);
        const size_t textLength = std::min<size_t>(data[at + 9], size - at - 10);
        const QString text = QString::fromUtf8(fuzz::bytes(data + at + 10, textLength));
        at += 10 + textLength;
        switch (op % 11) {
            case 0:
                methods.Seek(number);
                break;
            case 1:
                methods.SetPosition(player->mpris.trackId(), number);
                break;
            case 2:
                methods.SetPosition(QDBusObjectPath(text), number);
                break;
            case 3:
                methods.OpenUri(text);
                break;
            case 4:
                methods.Next();
                break;
            case 5:
                methods.Previous();
                break;
            case 6:
                methods.PlayPause();
                break;
            case 7:
                methods.Pause();
                break;
            case 8:
                methods.Stop();
                break;
            case 9: {
                double volume = 0;  // any bit pattern: NaN, infinities, huge values
                std::memcpy(&volume, &number, sizeof volume);
                methods.setVolume(volume);
                break;
            }
            default:
                methods.Play();
                break;
        }
        QCoreApplication::processEvents();
        player->engine_.showElapsed(1500);  // as the device reports it while playing
        player->mpris.metadata();
        player->mpris.positionUs();
    }
    methods.Stop();
    // The fakes log every command; kept across inputs they would grow for the whole run.
    player->prompts.shown.clear();
    player->audio.log.clear();
    player->streaming.log.clear();
    player->modules.log.clear();
    return 0;
}
