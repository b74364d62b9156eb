#include "Cli_qmv00500/instructionrules.h"

#include <algorithm>

#include "platform/dataset.h"
#include "platform/plaintext.h"
#include "platform/rtfreader.h"

namespace qmv {

namespace {

bool blankOrControl(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

}  // namespace

bool blankInstructions(const QByteArray& stored)
{
    QString text;
    try {
        text = plainTextOfRtf(stored);
    } catch (const RtfError&) {
        return false;
    }
    return std::all_of(text.cbegin(), text.cend(), blankOrControl);
}

void dropBlankInstructions(DataSet& instructions)
{
    instructions.cancelUpdates();
    if (!instructions.isEmpty())
        instructions.remove();
}

}  // namespace qmv
