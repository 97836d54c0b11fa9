#pragma once
// The single instance of every window, created once at program start in a fixed order and
// kept until the program ends. Windows reach each other through this struct.

#include <QList>
#include <memory>

class QWidget;

namespace lumkar {

class Session;
class TPasswordDlg;
class Tanamenuf;
class Tsicrapor;
class Tozluk;
class TrandevuF;
class TsifrelerF;
class TiptalF;
class TgorusmeF;
class TaylikF;
class TcariF;
class TgenelnotF;
class TyardimF;
class TpaketlerF;
class TkasaF;
class TkkartF;
class TgirisRF;
class ThatirlatmaF;
class TgunsonuF;
class TprimF;
class TbaglantiF;
class KeyboardReturn;
class EntryForm;
class DayLists;
class NotesPanes;
class HelpTopics;

struct Forms {
    TPasswordDlg *PasswordDlg = nullptr;
    Tanamenuf *anamenuf = nullptr;
    Tsicrapor *sicrapor = nullptr;
    Tozluk *ozluk = nullptr;
    TrandevuF *randevuF = nullptr;
    TsifrelerF *sifrelerF = nullptr;
    TiptalF *iptalF = nullptr;
    TgorusmeF *gorusmeF = nullptr;
    TaylikF *aylikF = nullptr;
    TcariF *cariF = nullptr;
    TgenelnotF *genelnotF = nullptr;
    TyardimF *yardimF = nullptr;
    TpaketlerF *paketlerF = nullptr;
    TkasaF *kasaF = nullptr;
    TkkartF *kkartF = nullptr;
    TgirisRF *girisRF = nullptr;
    ThatirlatmaF *hatirlatmaF = nullptr;
    TgunsonuF *gunsonuF = nullptr; // closing the cash or card day
    TprimF *primF = nullptr;       // commissions
    TbaglantiF *baglantiF = nullptr; // the database connection settings
    std::unique_ptr<KeyboardReturn> keyboardReturn;

    // The parts of the main window that other windows act on, handed out by the main window
    // when it is made: the appointment entry form, the three day lists, the note panes.
    EntryForm *entryForm = nullptr;
    DayLists *dayLists = nullptr;
    NotesPanes *notesPanes = nullptr;
    // The help window, as every other window opens a topic.
    HelpTopics *help = nullptr;

    // Every window, in the order of program start.
    QList<QWidget *> windows() const;

    Forms() = default;
    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;
    ~Forms();
};

// Creates every window in the order of program start; only the login dialog is shown later.
std::unique_ptr<Forms> createForms(Session &session);

} // namespace lumkar
