#include "kit/maskedit.h"

namespace lumkar {

QString maskedText(const QLineEdit *box)
{
    return box->inputMask().isEmpty() ? box->text() : box->displayText();
}

MaskedEdit::MaskedEdit(QWidget *parent) : QLineEdit(parent) {}

MaskedEdit::MaskedEdit(const QString &mask, QWidget *parent) : QLineEdit(parent)
{
    setInputMask(mask);
}

QString MaskedEdit::maskedText() const
{
    return lumkar::maskedText(this);
}

void MaskedEdit::setMaskedText(const QString &text)
{
    // Blanks are valid in every digit position, so the mask takes the text as it stands.
    setText(text);
}

MaskedEdit *newDateEdit(QWidget *parent)
{
    return new MaskedEdit(masks::date(), parent);
}

MaskedEdit *newTimeEdit(QWidget *parent)
{
    return new MaskedEdit(masks::time(), parent);
}

MaskedEdit *newPhoneEdit(QWidget *parent)
{
    return new MaskedEdit(masks::phone(), parent);
}

} // namespace lumkar
