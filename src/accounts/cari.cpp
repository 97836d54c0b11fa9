#include "accounts/cari.h"

namespace lumkar {

TcariF::TcariF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("cariF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Kişiler Borç-Alacak Raporları ve Tahsilat"));
    resize(900, 600);
}

void TcariF::openAccounts()
{
    // The person accounts arrive with their own window; nothing is listed yet.
}

} // namespace lumkar
