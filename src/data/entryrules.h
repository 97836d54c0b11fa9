#pragma once
// The rules by which typed numbers, amounts, dates, times, codes and names are read, filtered
// and completed. Plain functions over text: they return what is to happen and show nothing;
// src/kit/entryboxes.h attaches them to boxes.

#include <QChar>
#include <QDate>
#include <QString>
#include <QTime>

namespace lumkar {

// The three regional characters the rules read. The program runs under Turkish conventions.
struct Region {
    QChar decimal = QLatin1Char(',');
    QChar date = QLatin1Char('.');
    QChar time = QLatin1Char(':');
};

// The program's region (Turkish: ",", ".", ":"), whatever the machine's locale.
Region programRegion();

// Keys that carry no character of their own, as the key rules see them.
inline constexpr QChar BackspaceKey{u'\b'};
inline constexpr QChar EnterKey{u'\r'};

struct NumberReading {
    double value = 0;
    bool ok = true;
    QString message; // why the text is not a number, for the user
};

// Reads a typed number: keeps a leading sign, the digits and the decimal marks, drops
// everything else. Empty and letter-only texts read 0; two decimal marks, a lone sign or a
// lone decimal mark fail with a Turkish message.
NumberReading SayiyaCevir(const QString &text, const Region &region = programRegion());
// The same, giving 0 when the text is not a number; *ok tells which.
double SayiyaCevir(const QString &text, bool *ok, const Region &region = programRegion());

// An amount to whole kuruş (two decimals), a half going to the even kuruş. The half is found
// on the decimal number the value stands for (its shortest decimal form: the number as it was
// typed), not on its binary approximation: 2,345 gives 2,34, 1,015 gives 1,02, 2,355 gives
// 2,36, -1,015 gives -1,02, 0,005 gives 0.
double roundToCents(double value);

// An amount box as a key finds it. The selection, when there is one, counts from
// selectionStart; the caret then sits at one of its ends.
struct BoxState {
    QString text;
    int caret = 0;
    int selectionStart = 0;
    int selectionLength = 0;
};

// What a key rule decides about one keystroke.
struct KeyOutcome {
    bool keep = true;         // false: the key is discarded
    bool replaceText = false; // true: the box gets text and caret below, then the key acts
    QString text;
    int caret = 0;
    bool focusNext = false;   // the focus moves to the next control
};

// The amount keystroke rule: digits, one decimal mark with at most two decimals, Backspace;
// thousands grouped with "." as the user types; Enter moves on.
KeyOutcome TutarTusKontrol(const BoxState &box, QChar key,
                           const Region &region = programRegion());

// What leaving a date or time box does to its text.
struct Completion {
    bool ok = true;  // false: refused; the box gets `text` and keeps the focus
    QString text;    // the box's text afterwards: completed, unchanged, or emptied / reset
    QString message; // the refusal message
};

// Completes and checks a date box's "dd.mm.yyyy" text; refusal empties the box.
Completion TarihTamamla(const QString &text, const Region &region = programRegion());
// Completes and checks a time box's "hh:mm" text; refusal sets the box to resetText.
Completion SaatTamamla(const QString &text, const Region &region = programRegion(),
                       const QString &resetText = QString());

// The day of a completed date box: day, month and year at characters 1-2, 4-5 and 7-10, each
// all digits ("05.03.2030"). Invalid when a part holds anything else (a blank of an
// uncompleted box, a sign) or the day does not exist (31.02.2030).
QDate boxDate(const QString &text);
// The time of a completed time box: hour and minute at characters 1-2 and 4-5, seconds 0;
// invalid likewise.
QTime boxTime(const QString &text);

// The digits-only key rule of code and count boxes: digits, Backspace and Enter pass.
bool RakamTusKontrol(QChar key);

// Turkish lower-casing for name comparisons: trims blanks and control characters, then maps
// the capitals (I to ı, İ to i, Ç Ğ Ö Ü Ş, A to Z); everything else stays.
QString KucukHarfTr(const QString &text);
// What KucukHarfTr trims from the ends of a text: blanks of every kind (the no-break space and
// tabs included) and control characters (those below the blank, DEL and U+0080 to U+009F).
bool isBlankOrControl(QChar c);
// One character as KucukHarfTr maps it (no trimming).
QChar KucukHarfTr(QChar c);

// The word capitalisation of name boxes: a lower-case letter typed at the start of the text or
// right after a space becomes its Turkish capital. Returns the key to insert.
QChar IlkHarfBuyuk(const QString &text, int caret, QChar key);

} // namespace lumkar
