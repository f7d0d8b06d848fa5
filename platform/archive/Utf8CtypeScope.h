#pragma once

#include <locale.h>

namespace marlo {

// libarchive converts stored names into the character set of the calling thread's locale;
// under a non-UTF-8 locale every name it cannot convert comes back empty. Its calls therefore
// run under a UTF-8 character type for this thread, whatever the process locale is.
class Utf8CtypeScope {
  public:
    Utf8CtypeScope() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        if (utf8 != nullptr) {
            previous_ = uselocale(utf8);
        }
    }
    ~Utf8CtypeScope() {
        if (previous_ != nullptr) {
            uselocale(previous_);
        }
    }
    Utf8CtypeScope(const Utf8CtypeScope&) = delete;
    Utf8CtypeScope& operator=(const Utf8CtypeScope&) = delete;

  private:
    locale_t previous_ = nullptr;
};

}  // namespace marlo
