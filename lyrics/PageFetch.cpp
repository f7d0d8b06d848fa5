#include "lyrics/PageFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslSocket>
#include <QUrl>

#include "base/Catalogue.h"
#include "base/EventWait.h"
#include "base/texts/LyricsTexts.h"
#include "lyrics/LyricsServer.h"

namespace marlo {

namespace lt = texts::lyrics;

namespace {
// State numbers of the transfer, as the progress trace reports them.
enum : int {
    kLookingUp = 1,
    kConnecting = 3,
    kSending = 5,
    kSent = 6,
    kReceiving = 7,
    kReceived = 8,
    kError = 11,
    kCompleted = 12,
};
}  // namespace

PageFetch::PageFetch(QObject* parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)) {}

PageFetch::~PageFetch() {
    cancel();
}

void PageFetch::state(int number) {
    if (onState_) {
        onState_(number);
    }
}

void PageFetch::cancel() {
    if (reply_ != nullptr) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

bool PageFetch::get(const QString& url, QByteArray& body, QString& failure) {
    body.clear();
    failure.clear();
    const QUrl address(url);
    if (address.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 &&
        !QSslSocket::supportsSsl()) {
        state(kError);
        failure = Catalogue::text(lt::kReasonNoTls).arg(address.host());
        return false;
    }

    cancel();
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader, lyricsUserAgent());
    state(kLookingUp);
    QNetworkReply* reply = manager_->get(request);
    reply_ = reply;

    bool done = false;
    bool tooLarge = false;
    QByteArray received;
    connect(reply, &QNetworkReply::socketStartedConnecting, this, [this] { state(kConnecting); });
    connect(reply, &QNetworkReply::requestSent, this, [this] {
        state(kSending);
        state(kSent);
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this] { state(kReceiving); });
    connect(reply, &QNetworkReply::readyRead, this, [&, reply] {
        // Read as it arrives so a huge body is refused before it is held in memory.
        const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (declared > kMaxBody || received.size() + reply->bytesAvailable() > kMaxBody) {
            tooLarge = true;
            done = true;
            reply->abort();
            return;
        }
        received += reply->readAll();
    });
    connect(reply, &QNetworkReply::finished, this, [&] { done = true; });

    const bool inTime = waitWhileDispatching([&] { return done; }, timeoutMs_);

    reply_ = nullptr;
    reply->disconnect(this);
    if (!inTime) {
        reply->abort();
        reply->deleteLater();
        state(kError);
        failure = Catalogue::text(lt::kReasonTimeout).arg(timeoutMs_ / 1000.0);
        return false;
    }
    if (tooLarge) {
        reply->deleteLater();
        state(kError);
        failure = Catalogue::text(lt::kReasonTooLarge).arg(kMaxBody / (1024 * 1024));
        return false;
    }
    received += reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    reply->deleteLater();
    if (status >= 400) {
        state(kError);
        failure = Catalogue::text(lt::kReasonHttp).arg(status);
        return false;
    }
    if (error != QNetworkReply::NoError) {
        state(kError);
        failure = Catalogue::text(lt::kReasonNetwork).arg(errorText);
        return false;
    }
    if (received.size() > kMaxBody) {
        state(kError);
        failure = Catalogue::text(lt::kReasonTooLarge).arg(kMaxBody / (1024 * 1024));
        return false;
    }
    state(kReceived);
    state(kCompleted);
    body = received;
    return true;
}

}  // namespace marlo
