#include "persons/perozluk.h"

namespace lumkar {

Tozluk::Tozluk(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("ozluk"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Kişi Sicil Bilgileri"));
    sicilTable = new DataSet(session.db(), this);
    sicilTable->setObjectName(QStringLiteral("sicilTable"));
    sicilTable->setTable(QStringLiteral("siciltablo"));
    sicilTable->setOwnerWindow(this);
}

} // namespace lumkar
