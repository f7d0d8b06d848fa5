#pragma once

#include <QString>

namespace marlo {

// "Schreibfehler", and on a line below it the file the last failed write could not write and the
// system's reason, in the current language. Just "Schreibfehler" when no failure was noted.
QString writeErrorText();

}  // namespace marlo
