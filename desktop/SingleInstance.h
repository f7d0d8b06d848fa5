#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>

namespace marlo {

// One Marlo per desktop session: the first start owns the bus name "org.marlo.Marlo"; a later
// start hands its files to that one and ends.
class SingleInstance : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.marlo.Marlo")

  public:
    enum class Role {
        First,      // this one owns the name and takes the files of later starts
        HandedOff,  // another Marlo runs and took the files: this start ends
        Alone,      // no session bus (or no answer): this start is a player of its own
    };

    static constexpr const char* kService = "org.marlo.Marlo";
    static constexpr const char* kPath = "/org/marlo/Marlo";

    explicit SingleInstance(QDBusConnection bus = QDBusConnection::sessionBus(),
                            QObject* parent = nullptr);

    // Claims the name, or gives the files to the Marlo holding it, waiting up to `timeoutMs`.
    Role claimOrHandOff(const QStringList& files, int timeoutMs = 1500);

  public slots:
    // Called by a later start: absolute paths, in the order its command line named them.
    Q_SCRIPTABLE void Open(const QStringList& paths);

  signals:
    void filesArrived(const QStringList& paths);

  private:
    QDBusConnection bus_;
};

}  // namespace marlo
