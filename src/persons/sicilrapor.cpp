#include "persons/sicilrapor.h"

namespace lumkar {

Tsicrapor::Tsicrapor(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("sicrapor"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Kişi Kayıt Bilgileri"));
    sicrapQuery = new DataSet(session.db(), this);
    sicrapQuery->setObjectName(QStringLiteral("sicrapQuery"));
    sicrapQuery->setQuery(QStringLiteral("Select * from siciltablo Order By adi ASC;"),
                          QStringLiteral("siciltablo"));
    sicrapQuery->setOwnerWindow(this);
}

} // namespace lumkar
