#include "skins/TransCtl.h"

#include <QBitmap>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "skins/ShapeMask.h"

namespace marlo {
namespace {

const QString kEnabled = QStringLiteral("Enabled");
const QString kBackStyle = QStringLiteral("BackStyle");
const QString kBorderStyle = QStringLiteral("BorderStyle");
const QString kAutoRedraw = QStringLiteral("AutoRedraw");
const QString kMaskPicture = QStringLiteral("MaskPicture");
const QString kPicture = QStringLiteral("Picture");
const QString kAutoSize = QStringLiteral("AutoSize");
const QString kMousePointer = QStringLiteral("MousePointer");
const QString kMouseIcon = QStringLiteral("MouseIcon");
const QString kToolTipText = QStringLiteral("ToolTipText");

// Mouse buttons and shift keys as the events report them: 1 left, 2 right, 4 middle; 1 Shift,
// 2 Ctrl, 4 Alt.
qint16 buttonCode(Qt::MouseButtons buttons) {
    qint16 code = 0;
    if (buttons & Qt::LeftButton) {
        code |= 1;
    }
    if (buttons & Qt::RightButton) {
        code |= 2;
    }
    if (buttons & Qt::MiddleButton) {
        code |= 4;
    }
    return code;
}

qint16 shiftCode(Qt::KeyboardModifiers modifiers) {
    qint16 code = 0;
    if (modifiers & Qt::ShiftModifier) {
        code |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        code |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        code |= 4;
    }
    return code;
}

// The pointer numbers of the stored "MousePointer" value; 99 takes "MouseIcon".
Qt::CursorShape cursorShape(qint16 pointer) {
    switch (pointer) {
        case 1:
            return Qt::ArrowCursor;
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 5:
            return Qt::SizeAllCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 15:
            return Qt::SizeAllCursor;
        case 99:
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

const QStringList& TransCtl::storedNames() {
    static const QStringList names{kEnabled, kBackStyle, kBorderStyle,  kAutoRedraw, kMaskPicture,
                                   kPicture, kAutoSize,  kMousePointer, kMouseIcon,  kToolTipText};
    return names;
}

TransCtl::TransCtl(QWidget* parent) : QWidget(parent) {
    // The face is drawn from a kept picture; the background is never erased beneath it.
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void TransCtl::setEnabledProperty(bool value) {
    enabled_ = value;
    emit propertyChanged(kEnabled);
}

void TransCtl::setBackStyle(qint16 value) {
    backStyle_ = value;
    emit propertyChanged(kBackStyle);
}

void TransCtl::setBorderStyle(qint16 value) {
    borderStyle_ = value;
    emit propertyChanged(kBorderStyle);
}

void TransCtl::setAutoRedraw(bool value) {
    // Qt keeps the drawn face in its backing store whatever the value; it is stored only.
    autoRedraw_ = value;
    emit propertyChanged(kAutoRedraw);
}

void TransCtl::setAutoSize(bool value) {
    autoSize_ = value;
    emit propertyChanged(kAutoSize);
}

void TransCtl::setMousePointer(qint16 value) {
    mousePointer_ = value;
    applyPointer();
    emit propertyChanged(kMousePointer);
}

void TransCtl::setMouseIcon(const QPixmap& icon) {
    mouseIcon_ = icon;
    applyPointer();
    emit propertyChanged(kMouseIcon);
}

void TransCtl::setToolTipText(const QString& text) {
    toolTipText_ = text;
    setToolTip(text);
    emit propertyChanged(kToolTipText);
}

void TransCtl::applyPointer() {
    if (mousePointer_ == 99 && !mouseIcon_.isNull()) {
        setCursor(QCursor(mouseIcon_));
    } else if (mousePointer_ == 0) {
        unsetCursor();
    } else {
        setCursor(cursorShape(mousePointer_));
    }
}

void TransCtl::takeSize(const QPixmap& picture) {
    const QSize size = picture.isNull() ? QSize(0, 0) : picture.deviceIndependentSize().toSize();
    resize(size);
}

void TransCtl::setPicture(const QPixmap& picture) {
    picture_ = picture;
    masked_ = false;
    invisible_ = false;
    clearMask();
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    takeSize(picture);
    update();
    emit propertyChanged(kPicture);
}

void TransCtl::setMaskPicture(const QPixmap& picture) {
    takeSize(picture);
    QRegion shape = ShapeMask::of(picture);
    if (picture.devicePixelRatio() != 1.0) {
        // The shape is found in picture pixels; the widget works in logical pixels.
        QTransform scale;
        scale.scale(1.0 / picture.devicePixelRatio(), 1.0 / picture.devicePixelRatio());
        shape = scale.map(shape);
    }
    // An empty region would mean "no mask" to Qt: a one-colour picture must vanish instead.
    invisible_ = shape.isEmpty();
    if (invisible_) {
        clearMask();
    } else {
        setMask(shape);
    }
    setAttribute(Qt::WA_TransparentForMouseEvents, invisible_);
    masked_ = true;
    maskPicture_ = picture;
    picture_ = picture;
    update();
    emit propertyChanged(kMaskPicture);
    emit propertyChanged(kPicture);
}

bool TransCtl::hits(QPoint point) const {
    if (!rect().contains(point) || invisible_) {
        return false;
    }
    return !masked_ || mask().contains(point);
}

void TransCtl::setPlainCaption(const QString& caption) {
    plainCaption_ = caption;
    update();
}

QFont TransCtl::plainCaptionFont() const {
    // Smaller than this no caption can be read; it is then cut at the frame.
    constexpr int kSmallestPixels = 6;
    QFont font = this->font();
    const QRect inside = rect().adjusted(2, 1, -2, -1);
    int pixels = QFontInfo(font).pixelSize();
    for (; pixels > kSmallestPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(plainCaption_) <= inside.width() &&
            metrics.height() <= inside.height()) {
            break;
        }
    }
    font.setPixelSize(pixels);
    return font;
}

QVariantMap TransCtl::saveProperties() const {
    return {{kEnabled, enabled_},         {kBackStyle, backStyle_},
            {kBorderStyle, borderStyle_}, {kAutoRedraw, autoRedraw_},
            {kMaskPicture, maskPicture_}, {kPicture, picture_},
            {kAutoSize, autoSize_},       {kMousePointer, mousePointer_},
            {kMouseIcon, mouseIcon_},     {kToolTipText, toolTipText_}};
}

void TransCtl::restoreProperties(const QVariantMap& stored) {
    // Values only: the owner gives the pictures when it runs, so nothing is drawn here.
    enabled_ = stored.value(kEnabled, true).toBool();
    backStyle_ = static_cast<qint16>(stored.value(kBackStyle, 0).toInt());
    borderStyle_ = static_cast<qint16>(stored.value(kBorderStyle, 0).toInt());
    autoRedraw_ = stored.value(kAutoRedraw, true).toBool();
    maskPicture_ = stored.value(kMaskPicture).value<QPixmap>();
    picture_ = stored.value(kPicture).value<QPixmap>();
    autoSize_ = stored.value(kAutoSize, true).toBool();
    mousePointer_ = static_cast<qint16>(stored.value(kMousePointer, 0).toInt());
    mouseIcon_ = stored.value(kMouseIcon).value<QPixmap>();
    toolTipText_ = stored.value(kToolTipText).toString();
}

void TransCtl::paintEvent(QPaintEvent*) {
    if (invisible_) {
        return;
    }
    QPainter painter(this);
    if (picture_.isNull()) {
        if (!plainCaption_.isEmpty()) {
            painter.fillRect(rect(), palette().button());
            painter.setPen(palette().buttonText().color());
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
            painter.setFont(plainCaptionFont());
            painter.drawText(rect(), Qt::AlignCenter, plainCaption_);
        }
        return;
    }
    // Without smoothing a device pixel ratio of 2 repeats each picture pixel 2 x 2 times: the
    // skin stays crisp instead of being blurred by filtering.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(QRect(QPoint(0, 0), size()), picture_);
}

void TransCtl::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()),
                   static_cast<float>(event->position().x()),
                   static_cast<float>(event->position().y()));
}

void TransCtl::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click is a press like any other: its release follows.
    mousePressEvent(event);
}

void TransCtl::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()),
                   static_cast<float>(event->position().x()),
                   static_cast<float>(event->position().y()));
}

void TransCtl::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()),
                 static_cast<float>(event->position().x()),
                 static_cast<float>(event->position().y()));
}

}  // namespace marlo
