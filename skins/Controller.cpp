#include "skins/Controller.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "base/texts/CaptionTexts.h"
#include "base/texts/RemoteTexts.h"

namespace marlo {
namespace {

constexpr std::array<const TextPair*, 6> kTips{
    &texts::remote::kPlayTip,     &texts::remote::kPauseTip, &texts::remote::kStopTip,
    &texts::remote::kPreviousTip, &texts::remote::kNextTip,  &texts::remote::kSettingsTip};

std::size_t indexOf(RemoteButton button) {
    return static_cast<std::size_t>(button);
}

// Mean lightness of the background under a label, 0..255.
int lightness(const QImage& image) {
    if (image.isNull() || image.width() == 0 || image.height() == 0) {
        return 0;
    }
    const QImage small = image.scaled(8, 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    long sum = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            sum += QColor(small.pixel(x, y)).lightness();
        }
    }
    return static_cast<int>(sum / (small.width() * small.height()));
}

}  // namespace

Controller::Controller(RemoteHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      host_(host) {
    setObjectName(QStringLiteral("Controller"));
    setWindowTitle(Catalogue::text(texts::remote::kTitle));
    // The strip stands in for the minimised window while the user works elsewhere: its picture
    // buttons explain themselves without the strip being the active window.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::StrongFocus);

    label1_ = new QLabel(QString::fromUtf8(texts::controller::kLabel1.de), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label2_ = new QLabel(this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setTextFormat(Qt::PlainText);
    // The rotating text is cut at the label's edge, never wrapped or widened.
    label2_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    label2_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The window's background and both labels drag it.
    for (QWidget* part : std::initializer_list<QWidget*>{this, label1_, label2_}) {
        part->installEventFilter(this);
    }
    for (std::size_t i = 0; i < images_.size(); ++i) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        image->setToolTip(QString::fromUtf8(kTips[i]->de));
        image->installEventFilter(this);
        images_[i] = image;
    }

    timer_.setParent(this);
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(kMarqueeIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &Controller::tick);

    arrange();
    CaptionSwitch::adopt(*this);
}

Controller::~Controller() = default;

void Controller::applyEnglishCaptions() {
    label1_->setText(QString::fromUtf8(texts::controller::kLabel1.en));
    for (std::size_t i = 0; i < images_.size(); ++i) {
        images_[i]->setToolTip(QString::fromUtf8(kTips[i]->en));
    }
}

void Controller::fill(const QString& ticker, const TaskBackground& background,
                      const RemotePictures& pictures) {
    marquee_.setText(ticker);
    lastTicker_ = marquee_.text();
    label2_->setText(marquee_.text());
    if (!background.picture.isNull()) {
        picture_ = background.picture;
    } else {
        picture_ = QPixmap();
        if (background.colour.isValid()) {
            colour_ = background.colour;
        }
    }
    pictures_ = pictures;
    held_.fill(false);
    arrange();
    refreshLooks();
    update();
}

void Controller::setTickerText(const QString& text) {
    if (text == lastTicker_) {
        return;
    }
    lastTicker_ = text;
    marquee_.setText(text);
    label2_->setText(marquee_.text());
}

void Controller::refreshLooks() {
    for (RemoteButton button : kRemoteButtons) {
        if (!held_[indexOf(button)]) {
            showLook(button,
                     button == RemoteButton::Settings ? SlotLook::Normal : host_.shownLook(button));
        }
    }
}

void Controller::tick() {
    marquee_.tick();
    label2_->setText(marquee_.text());
}

void Controller::present() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect work = screen->availableGeometry();
        move(screen->geometry().left(), work.bottom() + 1 - height());
    }
    show();
    raise();
    timer_.start();
}

void Controller::dismiss() {
    timer_.stop();
    drag_.release();
    hide();
}

void Controller::arrange() {
    std::array<QSize, 6> sizes;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        // A button without a picture keeps the size of the normal look of its slot, or none.
        sizes[i] = pictures_[i].normal.isNull() ? pictures_[i].inactive.size()
                                                : pictures_[i].normal.size();
    }
    layout_ = RemoteLayout::forPictures(sizes);
    setFixedSize(layout_.size);
    label1_->setGeometry(layout_.label1);
    label2_->setGeometry(layout_.label2);
    for (std::size_t i = 0; i < images_.size(); ++i) {
        images_[i]->setGeometry(layout_.buttons[i]);
    }
    chooseTextColour();
}

void Controller::chooseTextColour() {
    // The title must stay readable on whatever the skin puts behind it.
    QImage under;
    if (!picture_.isNull()) {
        const QImage whole = picture_.toImage().scaled(layout_.size);
        under = whole.copy(layout_.label2);
    } else {
        under = QImage(1, 1, QImage::Format_RGB32);
        under.fill(colour_);
    }
    const bool dark = lightness(under) < 128;
    const QColor text = dark ? QColor(0xe8, 0xf6, 0xfa) : QColor(0x20, 0x16, 0x0e);
    for (QLabel* label : {label1_, label2_}) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, text);
        label->setPalette(pal);
    }
}

void Controller::showLook(RemoteButton button, SlotLook look) {
    const QPixmap& picture = pictures_[indexOf(button)].of(look);
    QLabel* image = images_[indexOf(button)];
    image->setPixmap(picture);
    image->setProperty("look", static_cast<int>(look));
}

void Controller::act(RemoteButton button) {
    host_.remoteAction(button);
    // The host may close or hide this window from inside the action (Settings); the pictures
    // follow what the main window's buttons show now.
    refreshLooks();
}

bool Controller::eventFilter(QObject* watched, QEvent* event) {
    for (std::size_t i = 0; i < images_.size(); ++i) {
        if (watched == images_[i]) {
            return buttonMouse(i, event);
        }
    }
    if (watched == this || watched == label1_ || watched == label2_) {
        return dragMouse(event);
    }
    return QWidget::eventFilter(watched, event);
}

bool Controller::buttonMouse(std::size_t index, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick) {
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) {
        return true;
    }
    const RemoteButton button = kRemoteButtons[index];
    if (type != QEvent::MouseButtonRelease) {
        const SlotLook shown =
            button == RemoteButton::Settings ? SlotLook::Normal : host_.shownLook(button);
        if (showsPressed(button, shown, host_.remoteFacts())) {
            held_[index] = true;
            showLook(button, SlotLook::Pressed);
        }
        return true;
    }
    held_[index] = false;
    // As on the main window: a release away from the button only puts its picture back.
    if (images_[index]->rect().contains(mouse->position().toPoint())) {
        act(button);
    } else {
        refreshLooks();
    }
    return true;
}

bool Controller::dragMouse(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    const int globalX = static_cast<int>(mouse->globalPosition().x());
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        drag_.press(globalX, x());
    } else if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)) {
        const QRect screen = screenGeometry();
        if (auto left = drag_.move(globalX, {screen.left(), screen.width()}, width())) {
            move(*left, y());
        }
    } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        drag_.release();
    }
    return true;
}

QRect Controller::screenGeometry() const {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

void Controller::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        return;
    }
    if (auto button = buttonForKey(event->key(), host_.remoteFacts().playing)) {
        act(*button);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void Controller::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!picture_.isNull()) {
        // Drawn for this window's size; another size is stretched rather than cut.
        p.drawPixmap(rect(), picture_);
    } else {
        p.fillRect(rect(), colour_);
    }
    // Four lines frame the buttons: light above and left, dark below and right.
    const QRect f = layout_.frame;
    p.setPen(QColor(255, 255, 255, 70));
    p.drawLine(f.topLeft(), f.topRight());
    p.drawLine(f.topLeft(), f.bottomLeft());
    p.setPen(QColor(0, 0, 0, 110));
    p.drawLine(f.bottomLeft(), f.bottomRight());
    p.drawLine(f.topRight(), f.bottomRight());
}

}  // namespace marlo
