#include "backup/girisR.h"

#include "kit/entryboxes.h"

#include <QFormLayout>

namespace lumkar {

TgirisRF::TgirisRF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("girisRF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo -  Yedekleme Ayarları"));
    auto *layout = new QFormLayout(this);
    CheckBox1 = new QCheckBox(QStringLiteral("Otomatik Olarak Yedek Al"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Edit1 = new QLineEdit(QStringLiteral("C:\\"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    yedekgunEdit = new QLineEdit(QStringLiteral("1"), this);
    yedekgunEdit->setObjectName(QStringLiteral("yedekgunEdit"));
    yedekgunEdit->setMaxLength(3);
    attachDigitsRule(yedekgunEdit);
    DateTimePicker1 = new QDateEdit(QDate(2012, 1, 1), this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setReadOnly(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    layout->addRow(CheckBox1);
    layout->addRow(QStringLiteral("Otomatik Yedeklenecek Yer"), Edit1);
    layout->addRow(QStringLiteral("Yedek"), yedekgunEdit);
    layout->addRow(QStringLiteral("Son Yedek Alınma Tarihi"), DateTimePicker1);
}

void TgirisRF::TumunuYedekleOto()
{
    // The backup runs come with the backup window; until then nothing is archived.
}

} // namespace lumkar
