#pragma once
// The rules of a sub-group's instruction record that need no window: when its text counts as blank,
// and what posting a blank text does to the record. UI thread only where a DataSet is taken.
#include <QByteArray>

namespace qmv {

class DataSet;

// True when the stored text, without formatting, holds nothing but blanks, line breaks and control
// characters. Stored text that cannot be read as RTF is never blank: it is kept as it is.
bool blankInstructions(const QByteArray& stored);

// A blank text is not kept: every unsent change is dropped, then the record that came from the
// server (if any) is deleted, so only that deletion is left to send.
void dropBlankInstructions(DataSet& instructions);

}  // namespace qmv
