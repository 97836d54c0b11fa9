#pragma once
// Date, time and telephone boxes. Such a box reads as its mask's full-length text, with the
// separators in place and a blank for every position not typed: "  .  .    ", "  :  ",
// "(   )          ". Every digit position is optional, so a blank can be typed to skip one.

#include <QLineEdit>

namespace lumkar {

namespace masks {
inline QString date() { return QStringLiteral("00.00.0000; "); }
inline QString time() { return QStringLiteral("00:00; "); }
inline QString phone() { return QStringLiteral("(000) 000 00 00; "); }
} // namespace masks

// The text of any box as the entry rules read it: the full-length text of a masked box,
// the plain text of any other.
QString maskedText(const QLineEdit *box);

class MaskedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedEdit(QWidget *parent = nullptr);
    MaskedEdit(const QString &mask, QWidget *parent = nullptr);

    // The full-length text with blanks; what the program stores for a telephone box.
    QString maskedText() const;
    // Puts a text as read by maskedText() back, position by position.
    void setMaskedText(const QString &text);
};

MaskedEdit *newDateEdit(QWidget *parent = nullptr);
MaskedEdit *newTimeEdit(QWidget *parent = nullptr);
MaskedEdit *newPhoneEdit(QWidget *parent = nullptr);

} // namespace lumkar
