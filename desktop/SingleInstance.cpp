#include "desktop/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDir>

namespace marlo {
namespace {

// Far beyond any real command line; a caller sending more means no good.
constexpr qsizetype kMostPaths = 100000;
constexpr qsizetype kLongestPath = 4096;

bool plausible(const QStringList& paths) {
    if (paths.size() > kMostPaths) {
        return false;
    }
    return std::all_of(paths.cbegin(), paths.cend(), [](const QString& path) {
        return path.size() <= kLongestPath && QDir::isAbsolutePath(path);
    });
}

}  // namespace

SingleInstance::SingleInstance(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {}

SingleInstance::Role SingleInstance::claimOrHandOff(const QStringList& files, int timeoutMs) {
    if (!bus_.isConnected() || bus_.interface() == nullptr) {
        return Role::Alone;
    }
    const QString service = QString::fromLatin1(kService);
    const QString path = QString::fromLatin1(kPath);
    // The object is there before the name, so a call that finds the name finds the object.
    bus_.registerObject(path, this, QDBusConnection::ExportScriptableSlots);
    const auto claimed =
        bus_.interface()->registerService(service, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (claimed.isValid() && claimed.value() == QDBusConnectionInterface::ServiceRegistered) {
        return Role::First;
    }
    bus_.unregisterObject(path);
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("Open"));
    call << files;
    // Events go on while waiting: the holder may be this very process (tests).
    const QDBusMessage reply = bus_.call(call, QDBus::BlockWithGui, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage ? Role::HandedOff : Role::Alone;
}

void SingleInstance::Open(const QStringList& paths) {
    if (!plausible(paths)) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("absolute file paths expected"));
        return;
    }
    emit filesArrived(paths);
}

}  // namespace marlo
