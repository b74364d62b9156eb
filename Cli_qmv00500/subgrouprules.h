#pragma once
// The rules of a sub-group record that need no window: the loading value's text, the cycle time,
// the revision date that follows the effective date, and the null-field list's companions. Pure
// functions over values or over the record being posted; UI thread only where a DataSet is taken.
#include <QString>

namespace qmv {

class DataSet;

// The loading value as the grid shows and edits it: a number rounded to a whole and followed by
// "%" (no scaling: 12.6 shows "13%"); text that is not a number (blank, or typed with its "%") as
// it stands.
QString loadingText(const QString& stored);

// The cycle time "hh:mm:ss" of a rate in cycles per hour; "00:00:00" for a rate of zero.
QString cycleTime(double rate);

// The revision date follows the effective date while they were equal (a first effective date also
// fills a blank revision date). Returns false when the effective date is then later than the
// revision date (a blank date counting as zero). Works on DTEFETSUMA and DTREVISUMA of the record
// being posted.
bool applyRevisionRule(DataSet& subGroups);

}  // namespace qmv
