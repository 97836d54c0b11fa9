#include "data/asread.h"

#include "data/dataset.h"
#include "data/schema.h"

#include <QDateTime>

namespace lumkar {

QString shownValue(const QVariant &value)
{
    if (value.isNull() || value.toString().isEmpty())
        return QStringLiteral("(boş)");
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    return QStringLiteral("\"%1\"").arg(value.toString());
}

QString deletedMeanwhileText()
{
    return QStringLiteral("Bu kayıt siz okuduktan sonra başka bir yerden silinmiş; "
                          "değişiklik kaydedilmedi.");
}

QString deletionOfDeletedText()
{
    return QStringLiteral("Bu kayıt siz okuduktan sonra başka bir yerden silinmiş.");
}

QString changedMeanwhileText(const QStringList &changed)
{
    return QStringLiteral("Bu kayıt siz okuduktan sonra başka bir yerden değiştirilmiş; "
                          "değişikliğiniz kaydedilmedi. Kayıtta şimdi: %1. Yazdıklarınız "
                          "formda duruyor; yeniden kaydederseniz onlar yazılır.")
        .arg(changed.join(QStringLiteral("; ")));
}

QString changedBeforeDeletionText(const QStringList &changed)
{
    return QStringLiteral("Bu kayıt siz okuduktan sonra başka bir yerden değiştirilmiş; "
                          "silinmedi. Kayıtta şimdi: %1.")
        .arg(changed.join(QStringLiteral("; ")));
}

RowValues rowAsRead(DataSet &set, const QString &table)
{
    RowValues row;
    const TableDef *def = schema::table(table);
    if (!def || set.currentRow() < 0)
        return row;
    for (const ColumnDef &column : def->columns)
        if (column.name != def->key && set.fieldIndex(column.name) >= 0)
            row.append({column.name, set.value(column.name)});
    return row;
}

} // namespace lumkar
