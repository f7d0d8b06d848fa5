#include "tests/player/EngineFixture.h"

namespace marlo::test {
namespace {

// The main window reloads the current entry after it swapped skins around minimising.
TEST_F(EngineFixture, LoadingTheCurrentItemShowsItWithoutPlaying) {
    addItems({"A", "B"});
    select(1);
    engine.play();
    ASSERT_TRUE(engine.state().playing);
    engine.stopCurrentItem();
    engine.loadCurrentItem();
    EXPECT_EQ(index(), 1);
    EXPECT_FALSE(engine.state().playing);
    EXPECT_EQ(display.titel(), "B");
    EXPECT_EQ(audioPlays(), 1);  // only the play before

    select(-1);
    const QStringList before = audio.commands();
    engine.loadCurrentItem();  // nothing selected: nothing to load
    EXPECT_EQ(audio.commands(), before);
}

}  // namespace
}  // namespace marlo::test
