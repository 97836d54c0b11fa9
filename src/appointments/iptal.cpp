#include "appointments/iptal.h"

#include <QLabel>
#include <QVBoxLayout>

namespace lumkar {

TiptalF::TiptalF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("iptalF"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Aşağıya İptal Nedenini Giriniz"), this));
}

} // namespace lumkar
