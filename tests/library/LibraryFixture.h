#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <memory>
#include <ostream>

#include "base/Catalogue.h"
#include "library/ItemEditor.h"
#include "library/LibrarySession.h"
#include "platform/TextCodec.h"
#include "platform/archive/ZipStore.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFolders.h"

// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace marlo::test {

// A data folder, scripted prompts and a library session over them; English unless a test
// switches.
class LibraryFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.makeData();
        Catalogue::setLanguage(UiLanguage::English);
    }
    void TearDown() override { Catalogue::setLanguage(UiLanguage::German); }

    QString data(const QString& name) const { return folder.data() + name; }

    void writeLines(const QString& name, const QStringList& lines) const {
        writeFile(data(name), joinLines(lines));
    }
    // The lines of a data file, with their CR LF ends checked: each must have one.
    QStringList linesOf(const QString& name) const {
        const QByteArray bytes = readFile(data(name));
        QStringList lines = decodeText(bytes).split(QStringLiteral("\r\n"));
        EXPECT_TRUE(bytes.isEmpty() || lines.last().isEmpty()) << "last line lacks CR LF";
        lines.removeLast();
        return lines;
    }

    // What a fresh reader of "Marlo.zip" finds on disk, bypassing the session's collected writes.
    QByteArray memberOnDisk(const QString& name) const {
        return storedMember(data("Marlo.zip"), name);
    }
    QStringList membersOnDisk() const {
        ZipStore store(data("Marlo.zip"));
        store.open();
        QStringList names = store.names();
        names.sort();
        return names;
    }

    // Saves a record and a collection line as an earlier run would have left them.
    void seedCollection(const QString& collection, const QStringList& titles) {
        ZipStore store(data("Marlo.zip"));
        store.open();
        for (const QString& title : titles) {
            const QString member = QStringLiteral("a_") + title;
            store.put(member,
                      joinLines({"[" + member + "]", "Liedbezeichnung=" + title,
                                 "Pfad=/old/" + title + ".wav", "Interpret=Old", "LiedType="}));
        }
        ASSERT_TRUE(store.commit());
        writeLines("a" + collection + ".dat", titles);
        writeLines("Audio.dat", {collection});
    }

    TempProgramFolder folder;
    ScriptedPrompts prompts;
    std::unique_ptr<LibrarySession> session =
        std::make_unique<LibrarySession>(folder.data(), prompts);
    // The item editor's fields over the session, as SaveItem and the adds read them.
    std::unique_ptr<ItemEditor> itemEditor = std::make_unique<ItemEditor>(*session);
};

}  // namespace marlo::test
