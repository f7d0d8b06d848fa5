#pragma once

#include <QPixmap>
#include <QVariantMap>
#include <QWidget>

namespace marlo {

// The skin button: shows one picture and reports the mouse. A plain picture shows as an opaque
// rectangle; a mask picture hides every pixel of its top-left pixel's colour, for drawing and
// for the mouse alike, so clicks there reach whatever lies beneath. The widget always takes the
// picture's size and never stretches it.
class TransCtl : public QWidget {
    Q_OBJECT
  public:
    // The stored names under which the widget's settings are saved and restored.
    static const QStringList& storedNames();

    explicit TransCtl(QWidget* parent = nullptr);

    bool Enabled() const { return enabled_; }
    void setEnabledProperty(bool value);
    qint16 BackStyle() const { return backStyle_; }
    void setBackStyle(qint16 value);
    qint16 BorderStyle() const { return borderStyle_; }
    void setBorderStyle(qint16 value);
    bool AutoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool value);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool value);
    qint16 MousePointer() const { return mousePointer_; }
    void setMousePointer(qint16 value);
    const QPixmap& MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QPixmap& icon);
    const QString& ToolTipText() const { return toolTipText_; }
    void setToolTipText(const QString& text);

    const QPixmap& Picture() const { return picture_; }
    const QPixmap& MaskPicture() const { return maskPicture_; }
    // Opaque rectangle of the picture's size.
    void setPicture(const QPixmap& picture);
    // The picture with its key-colour pixels transparent and not hit by the mouse.
    void setMaskPicture(const QPixmap& picture);
    bool masked() const { return masked_; }
    // True where a click lands on the button (widget coordinates).
    bool hits(QPoint point) const;

    void Refresh() { update(); }

    // The ten stored values, as saved with the window; restoring sets them without drawing.
    QVariantMap saveProperties() const;
    void restoreProperties(const QVariantMap& stored);

    // Shown on the plain surface before any skin gives the button a picture.
    void setPlainCaption(const QString& caption);
    const QString& plainCaption() const { return plainCaption_; }
    // The widget's font, made smaller where the caption would not fit inside the frame (down
    // to a size that can still be read).
    QFont plainCaptionFont() const;

  signals:
    void MouseDown(qint16 button, qint16 shift, float x, float y);
    void MouseMove(qint16 button, qint16 shift, float x, float y);
    void MouseUp(qint16 button, qint16 shift, float x, float y);
    // Tells the container which stored property changed, so it is saved with the window.
    void propertyChanged(const QString& name);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void takeSize(const QPixmap& picture);
    void applyPointer();

    bool enabled_ = true;
    qint16 backStyle_ = 0;
    qint16 borderStyle_ = 0;
    bool autoRedraw_ = true;
    bool autoSize_ = true;
    qint16 mousePointer_ = 0;
    QPixmap mouseIcon_;
    QString toolTipText_;
    QPixmap picture_;
    QPixmap maskPicture_;
    bool masked_ = false;
    // A mask with no pixel: nothing is drawn and the mouse passes through.
    bool invisible_ = false;
    QString plainCaption_;
};

}  // namespace marlo
