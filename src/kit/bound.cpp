#include "kit/bound.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace lumkar {

FieldLink::FieldLink(QWidget *control, DataSet *dataSet, const QString &field)
    : QObject(control), m_dataSet(dataSet), m_field(field)
{
    auto follow = [this] { refresh(); };
    connect(dataSet, &DataSet::reset, this, follow);
    connect(dataSet, &DataSet::currentChanged, this, follow);
    connect(dataSet, &DataSet::stateChanged, this, follow);
    connect(dataSet, &DataSet::fieldChanged, this, [this](const QString &changed) {
        if (!m_writing && changed.compare(m_field, Qt::CaseInsensitive) == 0)
            refresh();
    });
}

void FieldLink::refresh()
{
    if (!m_dataSet || m_dataSet->controlsDisabled() || m_writing)
        return;
    if (!m_dataSet->isOpen() || !m_dataSet->isLoaded()
        || (m_dataSet->recordCount() == 0 && !m_dataSet->isEditing())) {
        show(QVariant());
        return;
    }
    show(m_dataSet->value(m_field));
}

void FieldLink::write(const QVariant &value)
{
    if (!m_dataSet || !m_dataSet->isOpen())
        return;
    m_writing = true;
    m_dataSet->setValue(m_field, value);
    m_writing = false;
}

namespace {

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

class LineLink : public FieldLink {
public:
    LineLink(QLineEdit *edit, DataSet *ds, const QString &field)
        : FieldLink(edit, ds, field), m_edit(edit)
    {
        connect(edit, &QLineEdit::textEdited, this, [this] {
            write(textOrNull(m_edit->inputMask().isEmpty() ? m_edit->text()
                                                           : m_edit->displayText()));
        });
        refresh();
    }

protected:
    void show(const QVariant &value) override
    {
        const QString text = value.toString();
        if (m_edit->text() != text)
            m_edit->setText(text);
    }

private:
    QLineEdit *m_edit;
};

class MemoLink : public FieldLink {
public:
    MemoLink(QPlainTextEdit *memo, DataSet *ds, const QString &field)
        : FieldLink(memo, ds, field), m_memo(memo)
    {
        connect(memo, &QPlainTextEdit::textChanged, this, [this] {
            if (!m_showing)
                write(textOrNull(memoToStored(m_memo->toPlainText())));
        });
        refresh();
    }

protected:
    void show(const QVariant &value) override
    {
        const QString text = storedToMemo(value.toString());
        if (m_memo->toPlainText() == text)
            return;
        m_showing = true;
        m_memo->setPlainText(text);
        m_showing = false;
    }

private:
    QPlainTextEdit *m_memo;
    bool m_showing = false;
};

class CheckLink : public FieldLink {
public:
    CheckLink(QCheckBox *box, DataSet *ds, const QString &field, QString on, QString off)
        : FieldLink(box, ds, field), m_box(box), m_on(std::move(on)), m_off(std::move(off))
    {
        connect(box, &QCheckBox::clicked, this,
                [this](bool checked) { write(checked ? m_on : m_off); });
        refresh();
    }

protected:
    void show(const QVariant &value) override { m_box->setChecked(value.toString() == m_on); }

private:
    QCheckBox *m_box;
    QString m_on;
    QString m_off;
};

} // namespace

FieldLink *bindLineEdit(QLineEdit *edit, DataSet *dataSet, const QString &field)
{
    return new LineLink(edit, dataSet, field);
}

FieldLink *bindMemo(QPlainTextEdit *memo, DataSet *dataSet, const QString &field)
{
    return new MemoLink(memo, dataSet, field);
}

FieldLink *bindCheckBox(QCheckBox *box, DataSet *dataSet, const QString &field,
                        const QString &checked, const QString &unchecked)
{
    return new CheckLink(box, dataSet, field, checked, unchecked);
}

QString memoToStored(const QString &text)
{
    if (text.isEmpty())
        return QString();
    QString out;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        out += line + QStringLiteral("\r\n");
    return out;
}

QString storedToMemo(const QString &stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace lumkar
