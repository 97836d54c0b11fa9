#include "appointments/aylik.h"

#include <QVBoxLayout>

namespace lumkar {

TaylikF::TaylikF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("aylikF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Aylık Haftalık Randevu Rapor ve Giriş"));
    auto *layout = new QVBoxLayout(this);
    makeUserBar(QStringLiteral("Kullanıcının Randevuları"),
                                QStringLiteral("Tüm Kullanıcıların Randevularını Göster"), this);
    layout->addWidget(userBar);
    layout->addStretch();
    resize(900, 600);
}

void TaylikF::yenidenYukle()
{
    // The month grid arrives with the planner; nothing is drawn yet.
}

} // namespace lumkar

namespace lumkar {

void TaylikF::GirisHazirla()
{
    // The planner's booking fills this in.
}

} // namespace lumkar
