#include "lyrics/SongSelect.h"

#include <QListWidget>
#include <QPushButton>

#include "base/Catalogue.h"
#include "base/texts/LyricsTexts.h"
#include "platform/Twips.h"

namespace marlo {

namespace lt = texts::lyrics;

namespace {
QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}
}  // namespace

SongSelect::SongSelect(QWidget* parent)
    : QDialog(parent), songs_(new QListWidget(this)), select_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmSelect"));
    songs_->setObjectName(QStringLiteral("lstSongs"));
    select_->setObjectName(QStringLiteral("cmdSelect"));
    setWindowTitle(Catalogue::text(lt::kSelectCaption));
    select_->setText(Catalogue::text(lt::kSelectButton));
    songs_->setGeometry(twipsRect(120, 120, 3015, 3180));
    select_->setGeometry(twipsRect(120, 3480, 3015, 495));
    setFixedSize(twipsToPixels(3240), twipsToPixels(4095));
    setModal(true);
    connect(select_, &QPushButton::clicked, this, &QDialog::accept);
    connect(songs_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int SongSelect::chooseSong(const QList<LyricsHit>& hits) {
    songs_->clear();
    for (const LyricsHit& hit : hits) {
        songs_->addItem(hit.title);
    }
    songs_->setCurrentRow(0);
    chosen_ = 0;
    exec();
    return chosen_;
}

void SongSelect::done(int result) {
    chosen_ = qMax(0, songs_->currentRow());
    QDialog::done(result);
}

}  // namespace marlo
