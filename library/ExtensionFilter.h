#pragma once

#include <QString>
#include <QStringList>

#include "base/Settings.h"

namespace marlo {

// The extension filter that the extensions window builds for the folder add: the chosen
// patterns, each followed by ";". Every Okay appends what was chosen; only a kind switch
// empties the filter.
class ExtensionFilter {
  public:
    // The patterns offered for a kind, in the order shown; empty for CD audio.
    static QStringList patternsFor(MediaKind kind);

    // Appends each chosen pattern and ";".
    void append(const QStringList& chosen);
    // At a kind switch.
    void reset() { filter_.clear(); }

    // "*.wav;*.mp3;" style; empty when nothing was chosen since the last kind switch.
    const QString& filter() const { return filter_; }
    // The filter without its last ";", as the folder add uses it.
    QString pattern() const;

  private:
    QString filter_;
};

}  // namespace marlo
