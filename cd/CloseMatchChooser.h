#pragma once

#include <QList>

#include "cd/CddbEntry.h"

namespace marlo {

// Lets the user pick one of several close matches. `left` and `top` place the chooser in twips;
// 0 centres it on the screen in that direction. Returns the index of the match chosen; closing
// the chooser without a choice gives the first.
class CloseMatchChooser {
  public:
    virtual ~CloseMatchChooser() = default;
    virtual int choose(const QList<CloseMatch>& matches, int left, int top) = 0;
};

}  // namespace marlo
