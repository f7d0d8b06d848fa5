#pragma once

#include <QString>

namespace marlo {

// The scrolling title of the remote-control window: the title followed by 60 blanks, turned
// left by one character on every tick, so the title runs out to the left and comes back in
// from the right.
class Marquee {
  public:
    static constexpr int kTrailingBlanks = 60;

    // `title` plus the blanks; starts unturned.
    void setTitle(const QString& title);
    // The text exactly as given (the player hands it over already followed by its blanks).
    void setText(const QString& text);
    void tick();
    const QString& text() const { return text_; }

  private:
    QString text_;
};

}  // namespace marlo
