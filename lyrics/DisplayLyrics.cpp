#include "lyrics/DisplayLyrics.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

#include "base/Catalogue.h"
#include "base/texts/LyricsTexts.h"
#include "platform/Twips.h"

namespace marlo {

DisplayLyrics::DisplayLyrics(QWidget* parent)
    : QWidget(parent, Qt::Tool), text_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("DisplayLyrics"));
    text_->setObjectName(QStringLiteral("Text1"));
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setReadOnly(true);
    setWindowTitle(Catalogue::text(texts::lyrics::kDisplayCaption));
    resize(twipsToPixels(5055), twipsToPixels(5415));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen != nullptr ? screen->geometry().width() : 1024;
    const int margin = twipsToPixels(100);
    move(screenWidth - frameGeometry().width() - margin, margin);
}

void DisplayLyrics::resizeEvent(QResizeEvent* event) {
    text_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void DisplayLyrics::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        emit closedByUser();
    }
    QWidget::closeEvent(event);
}

}  // namespace marlo
