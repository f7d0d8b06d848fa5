#include "library/ZipListe.h"

#include <QLabel>
#include <QListView>
#include <QVBoxLayout>

#include "base/texts/ArchiveTexts.h"
#include "library/FileTitle.h"

namespace marlo {

ZipListe::ZipListe(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ZipListe"));
    // Designed with the German captions; the caption switch sets the English ones.
    setWindowTitle(QString::fromUtf8(texts::zipliste::kTitle.de));

    label_ = new QLabel(QString::fromUtf8(texts::zipliste::kLabel1.de), this);
    label_->setObjectName(QStringLiteral("Label1"));

    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setModel(&members_);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    label_->setBuddy(list_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(list_);
    resize(320, 300);

    connect(list_, &QListView::clicked, this, &ZipListe::choose);
    // Enter on the current member.
    connect(list_, &QListView::activated, this, &ZipListe::choose);
    // Created on first use: a window made after the caption switch takes it now.
    CaptionSwitch::adopt(*this);
}

void ZipListe::applyEnglishCaptions() {
    setWindowTitle(QString::fromUtf8(texts::zipliste::kTitle.en));
    label_->setText(QString::fromUtf8(texts::zipliste::kLabel1.en));
}

void ZipListe::choose(const QModelIndex& index) {
    // A click may also report an activation of the same row; the list is empty by then.
    const QStringList names = members_.stringList();
    if (!index.isValid() || index.row() >= names.size()) {
        return;
    }
    const QString name = names.at(index.row());
    members_.setStringList({});
    emit memberChosen(name, titleFromFileName(name));
    accept();
}

}  // namespace marlo
