#include "player/EnginePlayerControl.h"

#include "player/DisplayModel.h"
#include "player/PlaybackEngine.h"

namespace marlo {

bool EnginePlayerControl::isPlaying() const {
    return engine_.state().playing;
}

QString EnginePlayerControl::currentEntry() const {
    return engine_.state().entryText;
}

bool EnginePlayerControl::hasCurrentItem() const {
    return !engine_.state().path.isEmpty();
}

void EnginePlayerControl::stop() {
    engine_.stop();
}

void EnginePlayerControl::stopCurrentItem() {
    engine_.stopCurrentItem();
}

void EnginePlayerControl::takeOverPlaybackList() {
    engine_.takeOverPlaybackList();
}

void EnginePlayerControl::hideVolumeBars() {
    display_.setVscrollVisible(false);
    display_.setHscrollVisible(false);
}

}  // namespace marlo
