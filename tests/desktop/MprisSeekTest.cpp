#include "desktop/Mpris.h"
#include "desktop/MprisAdaptors.h"
#include "tests/desktop/MprisTestHost.h"
#include "tests/player/EngineFixture.h"

namespace marlo {
namespace {

// A bus client may send any offset; the ends of the 64-bit range must act as "far past the
// end" and "far before the start".
class MprisSeekTest : public test::EngineFixture {
  protected:
    test::MprisTestHost host{engine, display, *session};
    Mpris mpris{host};
    MprisPlayer* player = new MprisPlayer(mpris);
};

TEST_F(MprisSeekTest, OffsetsAtTheEndsOfTheRangeGoToTheNextItemOrTheStart) {
    audio.fileLength = 60000;
    addItems({"A", "B"});
    select(0);
    engine.play();
    engine.showElapsed(1500);
    player->Seek(std::numeric_limits<qlonglong>::min());
    EXPECT_EQ(index(), 0);
    EXPECT_EQ(mpris.positionUs(), 0);
    engine.showElapsed(1500);
    player->Seek(std::numeric_limits<qlonglong>::max());
    EXPECT_EQ(index(), 1);
}

}  // namespace
}  // namespace marlo
