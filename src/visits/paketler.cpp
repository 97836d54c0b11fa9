#include "visits/paketler.h"

namespace lumkar {

TpaketlerF::TpaketlerF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("paketlerF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Paketler"));
    resize(700, 500);
}

void TpaketlerF::openCatalogue()
{
    // The catalogue arrives with the package window; nothing is listed yet.
}

} // namespace lumkar
