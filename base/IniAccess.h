#pragma once

#include <QString>
#include <optional>

namespace marlo {

class Prompts;

// The two INI helpers the whole program uses for item records, skin register and design files.
// With a key: the value cut to a 1024-character buffer (`fallback` when missing). Without a key:
// the NUL-separated key names of the section, cut to a 4096-character buffer.
QString ReadIniValue(const QString& section, const std::optional<QString>& key,
                     const QString& fallback, const QString& filePath);

// Without a key: deletes the section. With a key and no value: deletes the key. Otherwise writes
// section/key=value. A failed write shows "Schreibfehler" and returns normally; the result tells
// callers that care.
bool WriteIniValue(Prompts& prompts, const QString& section, const std::optional<QString>& key,
                   const std::optional<QString>& value, const QString& filePath);

}  // namespace marlo
