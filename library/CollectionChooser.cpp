#include "library/CollectionChooser.h"

namespace marlo {

void CollectionChooser::setKind(MediaKind kind) {
    if (kind == kind_) {
        return;
    }
    kind_ = kind;
    emit kindChanged(kind);
    emit changed();
}

void CollectionChooser::setEntries(const QStringList& entries) {
    if (entries == entries_) {
        return;
    }
    entries_ = entries;
    emit changed();
}

void CollectionChooser::addEntry(const QString& name) {
    if (entries_.contains(name)) {
        return;
    }
    entries_.append(name);
    emit changed();
}

void CollectionChooser::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    emit changed();
}

void CollectionChooser::forget() {
    reloadEntries = true;
    if (entries_.isEmpty() && text_.isEmpty()) {
        return;
    }
    entries_.clear();
    text_.clear();
    emit changed();
}

}  // namespace marlo
