#pragma once

#include <QProcess>
#include <QString>

namespace marlo::test {

// A private D-Bus session bus for one test, so nothing reaches the desktop's own bus.
class SessionBus {
  public:
    SessionBus();
    ~SessionBus();
    bool ok() const { return !address_.isEmpty(); }
    // What DBUS_SESSION_BUS_ADDRESS holds for clients of this bus.
    const QString& address() const { return address_; }

  private:
    QProcess daemon_;
    QString address_;
};

}  // namespace marlo::test
