#include "cd/CdBase.h"

#include <QHostInfo>
#include <cmath>

#include "base/Catalogue.h"
#include "base/texts/CdTexts.h"
#include "cd/CdDrive.h"
#include "cd/CddbLine.h"
#include "cd/CloseMatchChooser.h"
#include "platform/Prompts.h"

namespace marlo {
namespace {

namespace t = texts::cd;

constexpr int kTableSize = 101;  // index 0..100
constexpr int kMaxCategories = 50;
constexpr int kMaxSites = 100;
const QString kCrLf = QStringLiteral("\r\n");

QString text(const TextPair& pair) {
    return Catalogue::text(pair);
}

}  // namespace

// Marks an operation as running for as long as it lives.
class CdBase::BusyScope {
  public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& busy_;
};

CdBase::CdBase(Prompts& prompts, QObject* parent)
    : QObject(parent),
      prompts_(prompts),
      line_(new CddbLine(this)),
      songNames_(kTableSize),
      extTracks_(kTableSize) {
    connect(line_, &CddbLine::dataSent, this, &CdBase::dataSent);
}

CdBase::~CdBase() = default;

QString CdBase::defaultServer() {
    return QStringLiteral("gnudb.gnudb.org");
}

bool CdBase::refuseBlank(const QString& value, const char* property, bool errorBox) {
    if (!value.contains(QLatin1Char(' '))) {
        return false;
    }
    const QString message = text(t::kNoSpaces).arg(QLatin1String(property));
    if (errorBox) {
        prompts_.inform(text(t::kControlErrorTitle), message, PromptIcon::Error);
    } else {
        inform(message);
    }
    return true;
}

void CdBase::setEmail(const QString& email) {
    if (!refuseBlank(email, "Email", true)) {
        email_ = email;
    }
}

void CdBase::setRevision(const QString& revision) {
    if (!refuseBlank(revision, "Revision", true)) {
        revision_ = revision;
    }
}

void CdBase::setAppName(const QString& appName) {
    if (!refuseBlank(appName, "AppName", false)) {
        appName_ = appName;
    }
}

void CdBase::setHostName(const QString& hostName) {
    if (!refuseBlank(hostName, "HostName", false)) {
        hostName_ = hostName;
    }
}

void CdBase::setConnectTimeout(int milliseconds) {
    connectTimeout_ = std::clamp(milliseconds, 5000, 65535);
    replyTimeout_ = connectTimeout_;
}

void CdBase::inform(const QString& message) {
    if (!cancelled_) {
        prompts_.inform(QString(), message, PromptIcon::None);
    }
}

void CdBase::cancel() {
    if (busy_) {
        cancelled_ = true;
        line_->cancel();
    }
}

void CdBase::fail(quint32 number, const QString& description) {
    lastError_ = CdError{number, text(t::kControlSource), description};
}

QString CdBase::songName(int songNumber) const {
    return songNumber >= 1 && songNumber <= tracks_ && songNumber < kTableSize
               ? songNames_.at(songNumber)
               : QString();
}

void CdBase::setSongName(int songNumber, const QString& songName) {
    if (songNumber >= 0 && songNumber < kTableSize) {
        songNames_[songNumber] = songName;
    }
}

QString CdBase::getExtTrackData(int songNumber) const {
    return songNumber >= 0 && songNumber < kTableSize ? extTracks_.at(songNumber) : QString();
}

void CdBase::setExtTrackData(int songNumber, const QString& data) {
    if (songNumber >= 0 && songNumber < kTableSize) {
        extTracks_[songNumber] = data;
    }
}

int CdBase::storedTrackSeconds(int songNumber) const {
    return songNumber >= 1 && songNumber <= tracks_ && songNumber <= disc_.trackSeconds.size()
               ? disc_.trackSeconds.at(songNumber - 1)
               : 0;
}

bool CdBase::calcDiscId() {
    if (drive_ == nullptr) {
        fail(kErrUnableToOpen, text(t::kUnableToOpen));
        return false;
    }
    const bool openedHere = !drive_->isOpen();
    if (openedHere) {
        drive_->open();
        if (!drive_->isOpen()) {
            fail(kErrUnableToOpen, text(t::kUnableToOpen));
            return false;
        }
    }
    const int count = drive_->trackCount();
    bool ok = count > 0;
    if (ok) {
        QList<quint32> starts;
        QList<quint32> lengths;
        for (int i = 1; i <= std::min(count, kTableSize - 1); ++i) {
            starts << drive_->trackStart(i);
            lengths << drive_->trackLength(i);
        }
        disc_ = computeDiscId(starts, lengths);
        tracks_ = disc_.tracks;
        discLength_ = disc_.discLength;
        cdid_ = disc_.id;
    } else {
        tracks_ = 0;
        fail(kErrNoAudioCd, text(t::kNoAudioCd));
    }
    if (openedHere) {
        drive_->close();
    }
    return ok;
}

void CdBase::setCommand(const QString& command) {
    if (drive_ == nullptr) {
        return;
    }
    const QString name = command.toLower();
    if (name == QLatin1String("open")) {
        drive_->open();
        if (!drive_->isOpen()) {
            fail(kErrUnableToOpen, text(t::kUnableToOpen));
        }
    } else if (name == QLatin1String("close")) {
        drive_->close();
    } else {
        drive_->command(name);
    }
}

int CdBase::mode() const {
    return drive_ != nullptr ? drive_->mode() : 524;
}

int CdBase::currentTrack() {
    return drive_ != nullptr ? drive_->currentTrack() : 0;
}

void CdBase::setCurrentTrack(int track) {
    if (drive_ != nullptr && track >= 1) {
        drive_->setCurrentTrack(track);
    }
}

QString CdBase::cdid() {
    return calcDiscId() ? cdid_ : QString();
}

QString CdBase::getQueryString() {
    lastError_.reset();
    return calcDiscId() ? disc_.queryText() : QString();
}

bool CdBase::beginOperation() {
    if (busy_) {
        lastError_ = CdError{kErrBusy, text(t::kControlSource), text(t::kLookupRunning)};
        return false;
    }
    lastError_.reset();
    cancelled_ = false;
    return true;
}

QString CdBase::getCddb() {
    if (!beginOperation()) {
        return {};
    }
    BusyScope scope(busy_);
    if (!calcDiscId()) {
        return {};
    }
    return lookup(QStringLiteral("cddb query ") + disc_.queryText() + kCrLf);
}

QString CdBase::getCddbUseQueryString(const QString& queryString) {
    if (!beginOperation()) {
        return {};
    }
    BusyScope scope(busy_);
    return lookup(QStringLiteral("cddb query ") + queryString + kCrLf);
}

QString CdBase::lookup(const QString& queryLine) {
    if (!serverConnect()) {
        return text(t::kFailureToConnect);
    }
    if (!sendHello()) {
        sendQuit();
        return text(t::kHandshakeFailed);
    }
    const QString reply = sendQuery(queryLine);
    switch (replyCode(reply)) {
        case 200:
            selection_ = parseExactMatch(reply);
            return readAndParse();
        case 211: {
            closeMatchDecode(reply);
            selection_ = CloseMatch{};
            if (closeMatches_.isEmpty()) {
                sendQuit();
                return {};
            }
            qsizetype chosen = 0;
            if (!useFirstMatch_ && chooser_ != nullptr) {
                chosen = chooser_->choose(closeMatches_, closeMatchWinLeft_, closeMatchWinTop_);
            }
            selection_ = closeMatches_.value(chosen, closeMatches_.first());
            return readAndParse();
        }
        case 202:
            inform(text(t::kNoExactMatch));
            break;
        case 403:
            inform(text(t::kEntryCorrupt));
            break;
        case 409:
            inform(text(t::kNoHandshake));
            break;
        case 600:
            return {};
        default:
            break;
    }
    sendQuit();
    return {};
}

QString CdBase::readAndParse() {
    CddbEntry entry;
    if (!parseEntry(sendRead(selection_.category, selection_.discId), entry)) {
        sendQuit();
        return text(t::kReadTimeout);
    }
    category_ = entry.category;
    dataRev_ = entry.dataRev;
    title_ = entry.title;
    artist_ = entry.artist;
    cdTitle_ = entry.cdTitle;
    const int songs = static_cast<int>(std::min<qsizetype>(entry.songs.size(), kTableSize - 1));
    for (int i = 0; i < songs; ++i) {
        songNames_[i + 1] = entry.songs.at(i);
    }
    tracks_ = songs;
    extData_ = entry.extData;
    for (int j = 0; j < std::min<qsizetype>(entry.extTracks.size(), kTableSize - 1); ++j) {
        extTracks_[j + 1] = entry.extTracks.at(j);
    }
    playOrder_ = entry.playOrder;
    sendQuit();
    entry.songs = entry.songs.mid(0, songs);
    return entry.summary();
}

bool CdBase::serverConnect() {
    if (!line_->isClosed()) {
        // A connection whose "quit" is out is only waiting for the server to close it.
        if (!line_->quitSent()) {
            return false;
        }
        line_->abort();
    }
    if (server_.isEmpty()) {
        server_ = defaultServer();
    }
    if (port_ == 0) {
        port_ = kDefaultPort;
    }
    line_->connectTo(server_, static_cast<quint16>(port_));
    const QString notice = text(t::kConnecting).arg(server_).arg(port_);
    emit dataSent(notice, static_cast<int>(notice.size()));
    if (!line_->waitReply(false, replyTimeout_)) {
        inform(text(t::kTimedOutConnect));
        return false;
    }
    return true;
}

std::optional<QString> CdBase::command(const QString& commandText, bool multiLine) {
    line_->send(commandText);
    return line_->waitReply(multiLine, replyTimeout_);
}

bool CdBase::sendHello() {
    if (email_.isEmpty()) {
        inform(text(t::kNeedEmail));
        return false;
    }
    if (hostName_.isEmpty()) {
        inform(text(t::kNeedHostName));
    }
    if (!line_->isConnected()) {
        return false;
    }
    const QString hello =
        QStringLiteral("cddb hello %1 %2 %3 %4\r\n").arg(email_, hostName_, appName_, revision_);
    if (!command(hello, false)) {
        inform(text(t::kTimedOutHello));
        return false;
    }
    return true;
}

QString CdBase::sendQuery(const QString& queryLine) {
    QString line = queryLine;
    if (line.isEmpty()) {
        if (!calcDiscId()) {
            return {};
        }
        line = QStringLiteral("cddb query ") + disc_.queryText() + kCrLf;
    }
    const std::optional<QString> reply = command(line, false);
    if (!reply) {
        inform(text(t::kTimedOutQuery));
        return {};
    }
    return *reply;
}

QString CdBase::sendRead(const QString& category, const QString& discId) {
    if (category.isEmpty() && discId.isEmpty()) {
        return {};
    }
    const std::optional<QString> reply =
        command(QStringLiteral("cddb read %1 %2\r\n").arg(category, discId), true);
    if (!reply) {
        inform(text(t::kTimedOutRead));
        return text(t::kReadTimeout);
    }
    return *reply;
}

void CdBase::sendQuit() {
    if (line_->isConnected()) {
        line_->send(QStringLiteral("quit\r\n"));
    }
}

QString CdBase::closeMatchDecode(const QString& response) {
    closeMatches_ = decodeCloseMatches(response);
    return {};
}

// Sends a list command on the greeted connection; the lines between the "210" line and the
// terminating "." line (none for an empty list); nothing when the reply is not a list.
std::optional<QStringList> CdBase::fetchList(const QString& commandText) {
    std::optional<QString> reply = command(commandText, true);
    if (!reply) {
        inform(text(t::kTimedOutRead));
        reply = text(t::kReadTimeout);
    }
    sendQuit();
    if (!reply->startsWith(QLatin1String("210"))) {
        return std::nullopt;
    }
    QStringList lines = reply->split(kCrLf);
    lines.removeFirst();
    const qsizetype end = lines.indexOf(QStringLiteral("."));
    return end < 0 ? lines : lines.mid(0, end);
}

bool CdBase::connectAndGreet() {
    if (!serverConnect()) {
        return false;
    }
    if (!sendHello()) {
        sendQuit();
        return false;
    }
    return true;
}

std::optional<QStringList> CdBase::listOperation(const QString& commandText) {
    if (!beginOperation()) {
        return std::nullopt;
    }
    BusyScope scope(busy_);
    return connectAndGreet() ? fetchList(commandText) : std::nullopt;
}

int CdBase::getlscat() {
    const std::optional<QStringList> lines = listOperation(QStringLiteral("cddb lscat\r\n"));
    if (!lines) {
        return 0;
    }
    // A list reply replaces the categories, an empty one with none.
    categoryList_ = lines->mid(0, kMaxCategories);
    return categories();
}

QString CdBase::getCategory(int categoryNo) const {
    return categoryNo >= 1 && categoryNo <= categories() ? categoryList_.at(categoryNo - 1)
                                                         : QString();
}

int CdBase::getSites() {
    const std::optional<QStringList> lines = listOperation(QStringLiteral("sites\r\n"));
    if (!lines) {
        return 0;
    }
    siteList_.clear();
    for (const QString& line : lines->mid(0, kMaxSites)) {
        const qsizetype first = line.indexOf(QLatin1Char(' '));
        const qsizetype second = first < 0 ? -1 : line.indexOf(QLatin1Char(' '), first + 1);
        CdSite site;
        site.address = line.left(first);
        if (first >= 0) {
            site.port = line.mid(first + 1, second < 0 ? -1 : second - first - 1).toInt();
        }
        if (second >= 0) {
            site.location = line.mid(second + 1);
        }
        siteList_ << site;
    }
    return sites();
}

QString CdBase::siteAddress(int siteNumber) const {
    return siteNumber >= 1 && siteNumber <= sites() ? siteList_.at(siteNumber - 1).address
                                                    : QString();
}

int CdBase::sitePort(int siteNumber) const {
    return siteNumber >= 1 && siteNumber <= sites() ? siteList_.at(siteNumber - 1).port : 0;
}

QString CdBase::siteLocation(int siteNumber) const {
    return siteNumber >= 1 && siteNumber <= sites() ? siteList_.at(siteNumber - 1).location
                                                    : QString();
}

QString CdBase::getMotd() {
    if (!beginOperation()) {
        return text(t::kMotdError);
    }
    BusyScope scope(busy_);
    if (!connectAndGreet()) {
        return text(t::kMotdError);
    }
    const QString motd = QStringLiteral("motd\r\n");
    std::optional<QString> reply = command(motd, true);
    if (!reply) {
        inform(text(t::kTimedOutRead));
    }
    QString result;
    // The message is fetched a second time and that answer is the one given back.
    if (reply && reply->startsWith(QLatin1String("210"))) {
        reply = command(motd, true);
        if (!reply) {
            inform(text(t::kTimedOutRead));
        }
        result = reply.value_or(QString());
    }
    sendQuit();
    return result;
}

QString CdBase::getMyHostName() {
    return QHostInfo::localHostName();
}

void CdBase::cddbSend(const QString& sendString) {
    if (!beginOperation()) {
        return;
    }
    BusyScope scope(busy_);
    if (!line_->isConnected() && !serverConnect()) {
        return;
    }
    line_->clearBuffer();
    line_->send(sendString);
}

QString CdBase::submitString() {
    const auto error = [](const QString& message) { return text(t::kSubmitError).arg(message); };
    lastError_.reset();
    if (dataRev_ <= 0) {
        return error(text(t::kInvalidDataRev).arg(dataRev_));
    }
    if (appName_.isEmpty()) {
        return error(text(t::kMissingAppName));
    }
    if (revision_.isEmpty()) {
        return error(text(t::kMissingRevision));
    }
    if ((artist_.isEmpty() || cdTitle_.isEmpty()) && title_.isEmpty()) {
        return error(text(t::kMissingTitle));
    }
    // The drive may be closed at the call and is closed again afterwards, with its table of
    // contents gone: the track count and lengths come from the disc id computed now. The
    // titles are checked against the entry's own track count, so titles left over from an
    // earlier, longer entry are missing, not submitted.
    const int entryTracks = tracks_;
    if (!calcDiscId()) {
        tracks_ = entryTracks;
        return error(lastError_->description);
    }
    const int n = disc_.tracks;
    for (int k = 1; k <= n; ++k) {
        if (k > entryTracks || songNames_.value(k).isEmpty()) {
            tracks_ = entryTracks;
            return error(text(t::kMissingSong).arg(k));
        }
    }
    QStringList lines{QStringLiteral("# xmcd"), QStringLiteral("#"),
                      QStringLiteral("# Track frame offsets:")};
    for (int i = 0; i < n; ++i) {
        lines << QStringLiteral("# %1").arg(msfToFrames(disc_.toc.at(i)));
    }
    // The lead-out lies one frame after the end of the last track.
    const int leadOut = msfToFrames(disc_.toc.at(n));
    const int length = static_cast<int>(std::lround(leadOut / double(kFramesPerSecond)));
    lines << QStringLiteral("#") << QStringLiteral("# Disc length: %1 Seconds").arg(length)
          << QStringLiteral("#") << QStringLiteral("# Revision: %1").arg(dataRev_)
          << QStringLiteral("# Submitted via: %1 %2").arg(appName_, revision_)
          << QStringLiteral("#") << QStringLiteral("DISCID=") + disc_.id;
    lines << (!artist_.isEmpty() && !cdTitle_.isEmpty()
                  ? QStringLiteral("DTITLE=%1 / %2").arg(artist_, cdTitle_)
                  : QStringLiteral("DTITLE=") + title_);
    for (int k = 0; k < n; ++k) {
        lines << QStringLiteral("TTITLE%1=").arg(k) + songName(k + 1);
    }
    lines << QStringLiteral("EXTD=") + extData_;
    for (int k = 0; k < n; ++k) {
        lines << QStringLiteral("EXTT%1=").arg(k) + extTracks_.value(k + 1);
    }
    lines << QStringLiteral("PLAYORDER=") + playOrder_;
    return lines.join(kCrLf) + kCrLf;
}

}  // namespace marlo
