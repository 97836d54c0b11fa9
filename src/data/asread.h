#pragma once
// A row written only as the user's form read it: what the user is told when another desk
// changed or deleted it meanwhile, and the row as a form read it from a data set. The matching
// itself is TableWriter::updateAsRead / removeAsRead and DataSet::post().

#include "data/tablewriter.h"

#include <QStringList>
#include <QVariant>

namespace lumkar {

class DataSet;

// A stored value as a message names it: "(boş)", a date-time as dd.MM.yyyy HH:mm, else quoted.
QString shownValue(const QVariant &value);

// The message of a save of a row another desk deleted after it was read.
QString deletedMeanwhileText();
// The message of a deletion of a row another desk deleted already.
QString deletionOfDeletedText();
// The message of a save of a row another desk changed after it was read: `changed` names each
// changed column with its stored value ("telefonu: \"(212) 555 00 00\"").
QString changedMeanwhileText(const QStringList &changed);
// The message of a deletion of a row another desk changed after it was read.
QString changedBeforeDeletionText(const QStringList &changed);

// The columns of `table` (its key left out) the data set's current row holds, as read.
RowValues rowAsRead(DataSet &set, const QString &table);

} // namespace lumkar
