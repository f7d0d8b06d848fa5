#include "base/Catalogue.h"

namespace marlo {
namespace {
// German until the configuration says otherwise, as at every start.
UiLanguage g_language = UiLanguage::German;
}  // namespace

UiLanguage Catalogue::language() {
    return g_language;
}
void Catalogue::setLanguage(UiLanguage language) {
    g_language = language;
}

QString Catalogue::text(const TextPair& pair) {
    return QString::fromUtf8(g_language == UiLanguage::English ? pair.en : pair.de);
}

}  // namespace marlo
