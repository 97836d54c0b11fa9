#include "accounts/cari.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace lumkar {

TcariF::TcariF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("cariF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Kişiler Borç-Alacak Raporları ve Tahsilat"));
    auto *layout = new QVBoxLayout(this);
    auto *person = new QFormLayout;
    auto box = [this](const QString &name, int maxLength) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(maxLength);
        return edit;
    };
    kisinoedit = box(QStringLiteral("kisinoedit"), 16);
    AdiEdit = box(QStringLiteral("AdiEdit"), 30);
    SoyadiEdit = box(QStringLiteral("SoyadiEdit"), 40);
    person->addRow(QStringLiteral("Kişi Kodu"), kisinoedit);
    person->addRow(QStringLiteral("Adı"), AdiEdit);
    person->addRow(QStringLiteral("Soyadı"), SoyadiEdit);
    layout->addLayout(person);
    layout->addStretch();
    resize(900, 600);
}

void TcariF::ToplamAl()
{
    // The person accounts window fills this in with the person's totals.
}

void TcariF::openAccounts()
{
    // The person accounts arrive with their own window; nothing is listed yet.
}

} // namespace lumkar
