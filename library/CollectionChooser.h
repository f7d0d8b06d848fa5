#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/Settings.h"

namespace marlo {

// The kind shown (`Befehl9`) and the collection chooser (`Kombi1`) as the library operations
// see them. Every change of what a window shows is announced, so windows never refresh by hand.
class CollectionChooser : public QObject {
    Q_OBJECT
  public:
    explicit CollectionChooser(QObject* parent = nullptr) : QObject(parent) {}

    MediaKind kind() const { return kind_; }
    const QStringList& entries() const { return entries_; }
    // The chosen (or typed) collection name.
    const QString& text() const { return text_; }
    // Where `text` stands among the entries; -1 when it is none of them.
    int currentIndex() const { return static_cast<int>(entries_.indexOf(text_)); }

    void setKind(MediaKind kind);
    void setEntries(const QStringList& entries);
    // Adds the name unless the chooser lists it already.
    void addEntry(const QString& name);
    void setText(const QString& text);
    // Entries and text gone, the kind list read again at the next open.
    void forget();

    // Bookkeeping of the opening rules; no window shows these.
    std::optional<int> rememberedIndex;
    // The index came from the configuration at start-up: the first open then plays the whole
    // collection and forgets the index.
    bool rememberedFromConfiguration = false;
    // Read the kind list again at the next open (kind switch, a collection removed).
    bool reloadEntries = true;

  signals:
    void kindChanged(MediaKind kind);
    // The kind, the entries or the text changed.
    void changed();

  private:
    MediaKind kind_ = MediaKind::Audio;
    QStringList entries_;
    QString text_;
};

}  // namespace marlo
