#pragma once

#include <QString>

namespace marlo {

// The scrolling title of the remote-control window: the player's title followed by its 60
// blanks, turned left by one character on every tick, so the title runs out to the left and
// comes back in from the right.
class Marquee {
  public:
    // The text exactly as given: the player hands it over already followed by its blanks, so
    // adding more here would double them.
    void setText(const QString& text);
    void tick();
    const QString& text() const { return text_; }

  private:
    QString text_;
};

}  // namespace marlo
