#include "appointments/randevu.h"

#include <QVBoxLayout>

namespace lumkar {

TrandevuF::TrandevuF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("randevuF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Randevular"));
    randevuTable = new DataSet(session.db(), this);
    randevuTable->setObjectName(QStringLiteral("randevuTable"));
    randevuTable->setTable(QStringLiteral("randevu"), {QStringLiteral("randevutarihi")});
    randevuTable->setOwnerWindow(this);

    auto *layout = new QVBoxLayout(this);
    makeUserBar(QStringLiteral("Kullanıcının Randevuları"),
                                QStringLiteral("Tüm Kullanıcıların Randevularını Göster"), this);
    layout->addWidget(userBar);
    JvDBUltimGrid1 = new GridView(this);
    JvDBUltimGrid1->setObjectName(QStringLiteral("JvDBUltimGrid1"));
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    JvDBUltimGrid1->setColumns(
        randevuTable,
        {{QStringLiteral("Rkimeadsoyad"), QStringLiteral("R.Kimin")},
         {QStringLiteral("sicil_kodu"), QStringLiteral("Kodu")},
         {QStringLiteral("adi"), QStringLiteral("Adı")},
         {QStringLiteral("soyadi"), QStringLiteral("Soyadı")},
         {QStringLiteral("paketadi"), QStringLiteral("Paket Adı")},
         {QStringLiteral("randevutarihi"), QStringLiteral("R.Tarihi"), QStringLiteral("dd.mm.yyyy")},
         {QStringLiteral("randevusaati"), QStringLiteral("R.Saati"), QStringLiteral("HH:MM")},
         {QStringLiteral("telefonu"), QStringLiteral("Telefon 1")},
         {QStringLiteral("ceptel"), QStringLiteral("Cep Telefonu")},
         {QStringLiteral("islem_tutari"), QStringLiteral("İşlem Tutarı"),
          QStringLiteral("#,###.00"), right},
         {QStringLiteral("kayittarihi"), QStringLiteral("K.Tarihi")}});
    JvDBUltimGrid1->setColumnHidden(1, true);
    layout->addWidget(JvDBUltimGrid1);
    resize(900, 600);
}

void TrandevuF::prepareForChange(const QDate &workingDate, bool allUsers)
{
    // The date range and the state boxes come with the list's own filter.
    Q_UNUSED(workingDate);
    CheckBox2->setChecked(allUsers);
    if (!randevuTable->isOpen())
        (void)randevuTable->open();
}

} // namespace lumkar
