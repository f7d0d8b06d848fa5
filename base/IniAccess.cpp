#include "base/IniAccess.h"

#include "base/WriteErrorText.h"
#include "base/texts/StartupTexts.h"
#include "platform/IniFile.h"
#include "platform/Prompts.h"

namespace marlo {

QString ReadIniValue(const QString& section, const std::optional<QString>& key,
                     const QString& fallback, const QString& filePath) {
    const IniFile file(filePath);
    if (!key) {
        return file.keyList(section);
    }
    return file.read(section, *key, fallback);
}

bool WriteIniValue(Prompts& prompts, const QString& section, const std::optional<QString>& key,
                   const std::optional<QString>& value, const QString& filePath) {
    IniFile file(filePath);
    bool ok = false;
    if (!key) {
        ok = file.removeSection(section);
    } else if (!value) {
        ok = file.removeKey(section, *key);
    } else {
        ok = file.write(section, *key, *value);
    }
    if (!ok) {
        prompts.message(QString(), writeErrorText(), PromptIcon::None, PromptButtons::Ok,
                        PromptAnswer::Ok);
    }
    return ok;
}

}  // namespace marlo
