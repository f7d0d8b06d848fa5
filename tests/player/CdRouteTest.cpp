#include <QDir>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "base/EventWait.h"
#include "base/texts/PlaybackTexts.h"
#include "cd/CdAudioDevice.h"
#include "library/CollectionEditor.h"
#include "library/StoredCdLyrics.h"
#include "lyrics/DisplayLyrics.h"
#include "lyrics/LyricsDisplay.h"
#include "player/CdTrackRoute.h"
#include "tests/player/EngineFixture.h"
#include "tests/support/CdImage.h"

namespace marlo::test {
namespace {

// A CD list over a generated two-track image (440 Hz, then 880 Hz).
class CdRouteTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        session->chooser.setKind(MediaKind::CdAudio);
    }
    // Made after a recording began, so its sound goes to the recorded sink.
    void makeDrive(const QString& source) {
        device = std::make_unique<CdAudioDevice>(source);
        route = std::make_unique<CdTrackRoute>(*device, prompts);
        route->setEngine(&engine);
        engine.setRoutes(route.get(), nullptr, nullptr);
    }
    // The player's opening of the CD: its tracks become the playback list.
    void openCd() {
        const int count = route->openDisc() ? route->trackCount() : 0;
        CollectionEditor(*session, {}).listCdTracks(count, CdInfo{});
    }

    QTemporaryDir dir;
    std::unique_ptr<CdAudioDevice> device;
    std::unique_ptr<CdTrackRoute> route;
};

TEST_F(CdRouteTest, TwoTracksAreHeardInOrderWithTheTrackTimeShown) {
    const QString recording = dir.filePath("rec.wav");
    SinkRecording sink(recording);
    ASSERT_TRUE(sink.ok());
    // Three seconds a track: the sound server asks for small pieces many times over, and each
    // track must be heard whole, not end at the first piece smaller than a sector.
    makeDrive(writeToneImage(dir.path(), 3));
    openCd();
    ASSERT_EQ(session->playback.titles(), QStringList({"01  ", "02  "}));
    EXPECT_EQ(route->discId().size(), 8);
    EXPECT_FALSE(device->isOpen());  // the open step gives the drive back

    // Repeat all plays one track after the other; the recording ends when the list starts over.
    set(option::kRepeatAll);
    bool reachedSecond = false;
    bool startedOver = false;
    QObject::connect(&session->playback, &PlaybackList::selectedIndexChanged, [&](int row) {
        reachedSecond = reachedSecond || row == 1;
        if (reachedSecond && row == 0 && !startedOver) {
            startedOver = true;
            sink.finish();
        }
    });
    select(0);
    engine.beginPlayback();
    EXPECT_EQ(display.dauer(), "00:03 min:sec");
    ASSERT_TRUE(waitWhileDispatching([&] { return startedOver; }, 15000));
    engine.stop();
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(display.posit(), "00:00 min:sec");
    EXPECT_TRUE(tonesHeardInOrder(recording, 440, 880, 2.5));

    // Track 2 alone: its time counts from its own start, not from the start of the disc.
    set(option::kRepeatAll, false);
    select(1);
    engine.play();
    ASSERT_TRUE(engine.state().playing);
    waitWhileDispatching([] { return false; }, 1600);
    EXPECT_GT(route->elapsed(), 500);  // the sound server holds some of it back
    EXPECT_LT(route->elapsed(), 3000);
    EXPECT_TRUE(engine.state().playing);
    engine.stop();
}

TEST_F(CdRouteTest, TheLyricsWindowFollowsThePlayingTrack) {
    SinkRecording sink(dir.filePath("rec.wav"));  // a sound server for the drive to play to
    ASSERT_TRUE(sink.ok());
    makeDrive(writeToneImage(dir.path(), 3));
    StoredCdLyrics source(*session, [this] { return route->discId(); });
    LyricsDisplay lyrics(source, prompts);
    route->setLyrics(&lyrics);

    // The disc's information record and the lyrics of its tracks, stored as the item editor
    // stores fetched ones: CR CR LF line ends, a blank line between verses.
    ASSERT_TRUE(route->openDisc());
    const QString disc = route->discId();
    session->store.putCdInfoRecord(disc, "Tones",
                                   {{"Low Tone", "Oscillators"}, {"High Tone", "Oscillators"}});
    session->store.putLyrics(disc, 1,
                             "Four hundred forty\r\r\nA below middle C\r\r\n\r\r\nTuned by ear");
    session->store.putLyrics(disc, 2,
                             "Eight hundred eighty\r\r\nOne octave höher\r\r\n\r\r\nGrüße");
    ASSERT_TRUE(session->store.commit());
    CollectionEditor(*session, {})
        .listCdTracks(route->trackCount(), session->store.ReadCdInfo(disc, 2));
    ASSERT_EQ(session->playback.titles(), QStringList({"01  Low Tone", "02  High Tone"}));

    // "Display Lyrics" checked while track 2 is selected, before anything plays.
    select(1);
    lyrics.showLyrics();
    ASSERT_TRUE(lyrics.windowWanted());
    const QPlainTextEdit* text = lyrics.window().text();

    select(0);
    engine.beginPlayback();
    ASSERT_TRUE(engine.state().playing);
    EXPECT_TRUE(lyrics.window().isVisible());
    EXPECT_EQ(text->toPlainText(), "Four hundred forty\nA below middle C\n\nTuned by ear\n");
    EXPECT_EQ(lyrics.window().windowTitle(), "Lyrics Displayer - Low Tone");

    engine.next();
    EXPECT_EQ(index(), 1);
    EXPECT_TRUE(engine.state().playing);
    EXPECT_TRUE(lyrics.window().isVisible());
    EXPECT_EQ(text->toPlainText(), "Eight hundred eighty\nOne octave höher\n\nGrüße\n");
    EXPECT_EQ(lyrics.window().windowTitle(), "Lyrics Displayer - High Tone");

    const QString shots = QStringLiteral(MARLO_PROGRAM_DIR) + "/../screenshots";
    QDir().mkpath(shots);
    EXPECT_TRUE(lyrics.window().grab().save(shots + "/cd-lyrics-track2.png"));
    engine.stop();
}

TEST_F(CdRouteTest, NoDiscAsksWhetherToTryAgainAndGivesUpOnNo) {
    makeDrive(dir.filePath("missing.cue"));
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
    EXPECT_FALSE(route->openDisc());
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown.at(0).text, Catalogue::body(texts::kNoDiscRetry));
    EXPECT_EQ(route->trackCount(), 0);
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(route->probeTrackCount(), 0);
}

}  // namespace
}  // namespace marlo::test
