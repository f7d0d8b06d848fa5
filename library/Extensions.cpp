#include "library/Extensions.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/texts/ArchiveTexts.h"
#include "library/ExtensionFilter.h"

namespace marlo {

Extensions::Extensions(ExtensionFilter& filter, QWidget* parent)
    : QDialog(parent), filter_(filter) {
    setObjectName(QStringLiteral("Extensions"));
    setWindowTitle(QString::fromUtf8(texts::extensions::kTitle.de));

    label_ = new QLabel(QString::fromUtf8(texts::extensions::kLabel1.de), this);
    label_->setObjectName(QStringLiteral("Label1"));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    // A click toggles one entry, as in a simple multi-select list.
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    label_->setBuddy(list_);

    okayButton_ = new QPushButton(QString::fromUtf8(texts::extensions::kCommand1.de), this);
    okayButton_->setObjectName(QStringLiteral("Command1"));
    okayButton_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(list_);
    layout->addWidget(okayButton_);
    resize(220, 300);

    connect(okayButton_, &QPushButton::clicked, this, &Extensions::okay);
    // Created on first use: a window made after the caption switch takes it now.
    CaptionSwitch::adopt(*this);
}

void Extensions::setKind(MediaKind kind) {
    list_->clear();
    list_->addItems(ExtensionFilter::patternsFor(kind));
    for (int row = 0; row < list_->count(); ++row) {
        list_->item(row)->setSelected(true);
    }
    if (list_->count() > 0) {
        list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    }
}

void Extensions::applyEnglishCaptions() {
    setWindowTitle(QString::fromUtf8(texts::extensions::kTitle.en));
    label_->setText(QString::fromUtf8(texts::extensions::kLabel1.en));
    okayButton_->setText(QString::fromUtf8(texts::extensions::kCommand1.en));
}

void Extensions::okay() {
    QStringList chosen;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected()) {
            chosen.append(list_->item(row)->text());
        }
    }
    filter_.append(chosen);
    accept();
}

}  // namespace marlo
