#include "accounts/ledger.h"

#include <QVBoxLayout>

namespace lumkar {

LedgerWindow::LedgerWindow(const LedgerBook &book, Forms &forms, Session &session)
    : FormContext(forms, session), m_book(book)
{
    setObjectName(book.objectName);
    setWindowTitle(book.caption);
    auto *layout = new QVBoxLayout(this);
    makeUserBar(book.userLabel, book.allUsersCaption, this);
    layout->addWidget(userBar);
    layout->addStretch();
    resize(900, 600);
}

void LedgerWindow::openBook()
{
    // The ledger lists arrive with the ledger windows; nothing is listed yet.
}

TkasaF::TkasaF(Forms &forms, Session &session)
    : LedgerWindow({QStringLiteral("kasaF"), QStringLiteral("Lumkar Vikelmo - Kasa İşlemleri"),
                    QStringLiteral("kasa"), QStringLiteral("Kullanıcının Kasası"),
                    QStringLiteral("Tüm Kullanıcıların Kasalarını Göster")},
                   forms, session)
{
}

TkkartF::TkkartF(Forms &forms, Session &session)
    : LedgerWindow({QStringLiteral("kkartF"),
                    QStringLiteral("Lumkar Vikelmo - Kredi Kartı İşlemleri"),
                    QStringLiteral("kredikart"), QStringLiteral("Kullanıcının Kredi Kartı"),
                    QStringLiteral("Tüm Kullanıcıların Kredi Kartlarını Göster")},
                   forms, session)
{
}

} // namespace lumkar
