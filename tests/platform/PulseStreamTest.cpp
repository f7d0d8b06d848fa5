#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>

#include "platform/media/PulseStream.h"
#include "tests/platform/SoundTestTools.h"
#include "tests/support/SoundServer.h"

namespace marlo {
namespace {

using namespace soundtest;

// A buffer of two seconds is larger than one memory block of the server, so the first request
// cannot be met in one write. The stream must still fill it whole, start, and ask again.
TEST(PulseStreamTest, BufferLargerThanOneServerBlockIsFilledAndPlays) {
    if (ranInFreshProcess()) {
        return;
    }
    test::SoundServer server;
    ASSERT_TRUE(server.ok());
    useOwnSoundServer(server);

    constexpr std::size_t kBytesPerSecond = 44100 * 4;
    std::atomic<std::size_t> filled = 0;
    std::atomic<int> requests = 0;
    PulseStream stream;
    ASSERT_TRUE(stream.open(
        44100, 2, 2000,
        [&](void* data, std::size_t bytes) {
            std::memset(data, 0, bytes);
            filled += bytes;
            ++requests;
            return bytes;
        },
        nullptr))
        << stream.errorString().toStdString();
    // The start-up buffer first, then the room that playing frees.
    const auto more = [&] { return filled.load() > kBytesPerSecond * 2 + kBytesPerSecond / 4; };
    for (int i = 0; i < 300 && !more(); ++i) {
        QThread::msleep(10);
    }
    EXPECT_TRUE(more()) << filled.load() << " bytes in " << requests.load() << " writes";
    EXPECT_GT(requests.load(), 2);
    stream.close();
}

// A stream kept from one start to the next (emptied and corked between) counts what is played
// from the new start. What was written ahead of the listener is thrown away each time and is no
// part of the count: the place shown after a few Stops and Plays or seeks follows the sound.
TEST(PulseStreamTest, PlayedCountOfAKeptStreamStartsAtTheNewStart) {
    if (ranInFreshProcess()) {
        return;
    }
    test::SoundServer server;
    ASSERT_TRUE(server.ok());
    useOwnSoundServer(server);

    constexpr qint64 kBytesPerMs = 44100 * 4 / 1000;
    const auto silence = [](void* data, std::size_t bytes) {
        std::memset(data, 0, bytes);
        return bytes;
    };
    PulseStream stream;
    for (int start = 0; start < 4; ++start) {
        ASSERT_TRUE(stream.open(44100, 2, 600, silence, nullptr));
        QThread::msleep(700);
        stream.setCorked(true);  // Stop pauses first, then empties
        stream.close();
    }
    ASSERT_TRUE(stream.open(44100, 2, 600, silence, nullptr));
    QElapsedTimer clock;
    clock.start();
    // Counted from the new start, within the buffer's latency of the wall clock and never ahead
    // of it. A count that began behind the new start reads 0 for all that was thrown away.
    qint64 lagMs = 0;
    while (clock.elapsed() < 2500) {
        QThread::msleep(50);
        const qint64 playedMs = stream.playedBytes() / kBytesPerMs;
        if (clock.elapsed() > 1000) {
            lagMs = std::max(lagMs, clock.elapsed() - playedMs);
        }
        EXPECT_LE(playedMs, clock.elapsed() + 50);
    }
    EXPECT_LT(lagMs, 800);
    stream.close();

    // A server that stopped answering holds a start for a moment only, not for good: the kept
    // stream goes on, a new connection gives up with a reason.
    ::kill(pid_t(server.processId()), SIGSTOP);
    clock.restart();
    stream.open(44100, 2, 600, silence, nullptr);
    EXPECT_LT(clock.elapsed(), 2000);
    PulseStream other;
    clock.restart();
    EXPECT_FALSE(other.open(44100, 2, 600, silence, nullptr));
    EXPECT_LT(clock.elapsed(), 6000);
    EXPECT_FALSE(other.errorString().isEmpty());
    ::kill(pid_t(server.processId()), SIGCONT);
    stream.close();
}

}  // namespace
}  // namespace marlo
