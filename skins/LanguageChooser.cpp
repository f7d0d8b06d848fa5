#include "skins/LanguageChooser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/texts/StartupTexts.h"

namespace marlo {
namespace {

constexpr QSize kFlagSize(60, 36);

QPixmap germanFlag() {
    QPixmap flag(kFlagSize);
    QPainter p(&flag);
    const int h = kFlagSize.height() / 3;
    p.fillRect(0, 0, kFlagSize.width(), h, QColor(0, 0, 0));
    p.fillRect(0, h, kFlagSize.width(), h, QColor(221, 0, 0));
    p.fillRect(0, 2 * h, kFlagSize.width(), kFlagSize.height() - 2 * h, QColor(255, 206, 0));
    return flag;
}

QPixmap unionFlag() {
    QPixmap flag(kFlagSize);
    const int w = kFlagSize.width();
    const int h = kFlagSize.height();
    QPainter p(&flag);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(flag.rect(), QColor(1, 33, 105));
    const QColor white(255, 255, 255);
    const QColor red(200, 16, 46);
    // Saltires: white, then a thinner red over it.
    p.setPen(QPen(white, h / 5.0));
    p.drawLine(0, 0, w, h);
    p.drawLine(0, h, w, 0);
    p.setPen(QPen(red, h / 15.0));
    p.drawLine(0, 0, w, h);
    p.drawLine(0, h, w, 0);
    // Cross of St George with its white border.
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(w / 2.0 - h / 6.0, 0, h / 3.0, h), white);
    p.fillRect(QRectF(0, h / 2.0 - h / 6.0, w, h / 3.0), white);
    p.fillRect(QRectF(w / 2.0 - h / 10.0, 0, h / 5.0, h), red);
    p.fillRect(QRectF(0, h / 2.0 - h / 10.0, w, h / 5.0), red);
    return flag;
}

QPushButton* flagButton(const char* name, const QString& text, const QPixmap& flag,
                        QWidget* parent) {
    auto* button = new QPushButton(QIcon(flag), text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIconSize(kFlagSize);
    button->setMinimumHeight(kFlagSize.height() + 16);
    return button;
}

}  // namespace

LanguageChooser::LanguageChooser(UiLanguage current, QWidget* parent)
    : QDialog(parent), language_(current) {
    setObjectName(QStringLiteral("WähleSprache"));
    setWindowTitle(Catalogue::text(texts::kChooserTitle));
    setModal(true);

    auto* german = new QLabel(Catalogue::text(texts::kChooserGerman), this);
    german->setObjectName(QStringLiteral("Label1"));
    auto* english = new QLabel(Catalogue::text(texts::kChooserEnglish), this);
    english->setObjectName(QStringLiteral("Label2"));

    auto* deutsch =
        flagButton("Command1", Catalogue::text(texts::kChooserButtonGerman), germanFlag(), this);
    auto* englishButton =
        flagButton("Command2", Catalogue::text(texts::kChooserButtonEnglish), unionFlag(), this);
    connect(deutsch, &QPushButton::clicked, this, [this] { choose(UiLanguage::German); });
    connect(englishButton, &QPushButton::clicked, this, [this] { choose(UiLanguage::English); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(deutsch);
    buttons->addWidget(englishButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(german);
    layout->addWidget(english);
    layout->addLayout(buttons);
}

void LanguageChooser::choose(UiLanguage language) {
    language_ = language;
    accept();
}

UiLanguage LanguageChooser::ask(UiLanguage current, QWidget* parent) {
    LanguageChooser chooser(current, parent);
    chooser.exec();
    return chooser.language();
}

}  // namespace marlo
