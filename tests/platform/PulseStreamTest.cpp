#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
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

}  // namespace
}  // namespace marlo
