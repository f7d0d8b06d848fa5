#include "cd/MatchChooser.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "base/Catalogue.h"
#include "base/texts/CdTexts.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"

namespace marlo {

MatchChooser::MatchChooser(QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)), select_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmMatches"));
    setWindowTitle(Catalogue::text(texts::cd::kMatchesCaption));
    list_->setObjectName(QStringLiteral("lstMatches"));
    select_->setObjectName(QStringLiteral("cmdSelect"));
    select_->setText(Catalogue::text(texts::cd::kSelect));
    list_->setGeometry(0, 0, twipsToPixels(3855), twipsToPixels(2595));
    select_->setGeometry(0, twipsToPixels(2640), twipsToPixels(3855), twipsToPixels(495));
    setFixedSize(twipsToPixels(3885), twipsToPixels(3180));
    setModal(true);
    connect(select_, &QPushButton::clicked, this, &MatchChooser::take);
    connect(list_, &QListWidget::itemDoubleClicked, this, &MatchChooser::take);
}

void MatchChooser::fill(const QList<CloseMatch>& matches) {
    list_->clear();
    for (const CloseMatch& match : matches) {
        QString title = match.title;
        title.remove(QLatin1Char('\r'));
        title.remove(QLatin1Char('\n'));
        list_->addItem(match.category + QLatin1String(" / ") + title);
    }
    list_->setCurrentRow(0);
}

void MatchChooser::take() {
    chosen_ = std::max(0, list_->currentRow());
    accept();
}

void MatchChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    list_->setFocus();
}

int MatchChooser::choose(const QList<CloseMatch>& matches, int left, int top) {
    fill(matches);
    chosen_ = -1;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint centred =
        screen != nullptr ? centreOnScreen(size(), screen->geometry()) : QPoint(0, 0);
    move(left != 0 ? twipsToPixels(left) : centred.x(),
         top != 0 ? twipsToPixels(top) : centred.y());
    exec();
    // Closed by its close box: the first match.
    if (chosen_ < 0) {
        chosen_ = 0;
    }
    return chosen_;
}

}  // namespace marlo
