#pragma once

#include <QString>

namespace marlo {

enum class UiLanguage { German, English };

// One English/German text. Texts are UTF-8; "%1".."%9" are filled in with QString::arg.
struct TextPair {
    const char* en;
    const char* de;
};

// A message box: its title and its text.
struct MessagePair {
    TextPair title;
    TextPair text;
};

// The one place user-visible text comes from. Every window and message asks it for the text of
// the current language at the moment it shows the text. The pairs themselves live in
// core/texts/, one header per area.
class Catalogue {
  public:
    static UiLanguage language();
    static void setLanguage(UiLanguage language);
    static bool english() { return language() == UiLanguage::English; }

    static QString text(const TextPair& pair);
    static QString title(const MessagePair& message) { return text(message.title); }
    static QString body(const MessagePair& message) { return text(message.text); }
};

// Short form for the common call. Inside QObject classes, where tr() is Qt's own, call
// Catalogue::text instead.
inline QString tr(const TextPair& pair) {
    return Catalogue::text(pair);
}

// A text that exists in one language only and is shown so in both.
inline constexpr TextPair same(const char* text) {
    return {text, text};
}

}  // namespace marlo
