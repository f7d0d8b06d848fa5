// The credits page of the settings window: the version of the build, the credits and the links.
#include <QLabel>
#include <QVBoxLayout>
#include <tuple>

#include "app/SettingsWindow.h"
#include "base/texts/CaptionTexts.h"
#include "base/texts/SettingsTexts.h"

#ifndef MARLO_VERSION_TEXT
#define MARLO_VERSION_TEXT "0.0.0"
#endif
#ifndef MARLO_WEB_ADDRESS
#define MARLO_WEB_ADDRESS ""
#endif
#ifndef MARLO_MAIL_ADDRESS
#define MARLO_MAIL_ADDRESS ""
#endif

namespace marlo {

namespace cfg = texts::cfg;

QWidget* CFG::creditsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* version = new QLabel(page);
    version->setObjectName(QStringLiteral("Label9"));
    version->setText(Catalogue::text(cfg::kVersion).arg(QStringLiteral(MARLO_VERSION_TEXT)));
    layout->addWidget(version);
    layout->addWidget(addLabel("Label3", cfg::kLabel3, page));
    layout->addWidget(new QLabel(Catalogue::text(cfg::kAuthor), page));
    layout->addWidget(addLabel("Label6", cfg::kLabel6, page));
    auto* designers = new QLabel(Catalogue::text(cfg::kDesigners), page);
    layout->addWidget(designers);
    QLabel* label8 = addLabel("Label8", cfg::kLabel8, page);
    label8->setWordWrap(true);
    layout->addWidget(label8);
    QLabel* label7 = addLabel("Label7", cfg::kLabel7, page);
    label7->setWordWrap(true);
    layout->addWidget(label7);
    // The links start the desktop's handler for the address; only real addresses get one.
    const QString web = QStringLiteral(MARLO_WEB_ADDRESS);
    const QString mail = QStringLiteral(MARLO_MAIL_ADDRESS);
    for (const auto& [name, href, shown] :
         {std::tuple{"Label10", web, web},
          std::tuple{"Label11", QStringLiteral("mailto:") + mail, mail}}) {
        if (shown.isEmpty()) {
            continue;
        }
        auto* label = new QLabel(page);
        label->setObjectName(QString::fromLatin1(name));
        label->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                           .arg(href.toHtmlEscaped(), shown.toHtmlEscaped()));
        label->setOpenExternalLinks(true);
        layout->addWidget(label);
    }
    layout->addStretch();
    return page;
}

}  // namespace marlo
