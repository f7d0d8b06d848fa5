#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace marlo {

// One GET of a lyrics page, waited for while window events go on. The wait and the body are
// bounded; any failure (network or TLS error, HTTP error status, time-out, oversize body) is a
// failure with a reason, and the body of a failed transfer is never handed out.
class PageFetch : public QObject {
    Q_OBJECT

  public:
    static constexpr int kDefaultTimeoutMs = 20000;
    static constexpr qint64 kMaxBody = 2 * 1024 * 1024;

    explicit PageFetch(QObject* parent = nullptr);
    ~PageFetch() override;

    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    int timeoutMs() const { return timeoutMs_; }

    // Receives the transfer state numbers 0 to 12 as they happen.
    void setStateListener(std::function<void(int)> listener) { onState_ = std::move(listener); }

    // Runs the GET to its end. True with the body in `body`; false with the reason in `failure`.
    bool get(const QString& url, QByteArray& body, QString& failure);

    // Ends a transfer that is still open (none is after get() returns).
    void cancel();

  private:
    void state(int number);

    QNetworkAccessManager* manager_;
    QNetworkReply* reply_ = nullptr;
    int timeoutMs_ = kDefaultTimeoutMs;
    std::function<void(int)> onState_;
};

}  // namespace marlo
