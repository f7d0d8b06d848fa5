#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace marlo::test {

// Chooses `item` of the popup menu once it is up, as a user picks it with the keys.
inline void chooseFromPopup(const char* item) {
    QTimer::singleShot(0, [item] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        auto* action = menu->findChild<QAction*>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr);
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

}  // namespace marlo::test
