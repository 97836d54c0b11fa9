#include "visits/gorusme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumkar {

TgorusmeF::TgorusmeF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("gorusmeF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Görüşmeler"));
    auto *layout = new QVBoxLayout(this);
    auto *entry = new QHBoxLayout;
    entry->addWidget(new QLabel(QStringLiteral("Görüşen"), this));
    gorusenBox = new QComboBox(this);
    gorusenBox->setObjectName(QStringLiteral("gorusenBox"));
    gorusenBox2 = new QComboBox(this);
    gorusenBox2->setObjectName(QStringLiteral("gorusenBox2"));
    gorusenBox2->setVisible(false);
    entry->addWidget(gorusenBox);
    entry->addWidget(gorusenBox2);
    entry->addStretch();
    layout->addLayout(entry);
    gorusenPickers = new PickerPair(gorusenBox2, gorusenBox, this);
    makeUserBar(QString(),
                                QStringLiteral("Tüm Kullanıcıların Görüşmelerini Göster"), this);
    layout->addWidget(userBar);
    layout->addStretch();
    resize(900, 600);
}

void TgorusmeF::reopenVisits()
{
    // The visit list arrives with the visits window; nothing is listed yet.
}

} // namespace lumkar
