#pragma once
// The list definitions of an RTF document (\listtable and \listoverridetable): which list style
// each \lsN paragraph at each level \ilvlN shows. Plain value type, Qt Core only; any thread.
#include <QHash>
#include <QString>
#include <QVector>

namespace qmv {

// What a list paragraph shows before its text; None: no number or bullet.
enum class RtfListStyle { None, Disc, Circle, Square, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman };

class RtfListTable {
public:
    // While reading one \list: its levels in order, then its id.
    void beginList();
    void addLevel(int numberFormat, const QString& levelText);
    void endList(int listId);
    void addOverride(int listId, int ls);

    // The style of a paragraph in list `ls` at `level`. A list the table does not define shows a bullet.
    RtfListStyle style(int ls, int level) const;

    // \levelnfc values and back.
    static RtfListStyle styleOf(int numberFormat, const QString& levelText);
    static int numberFormatOf(RtfListStyle style);

private:
    QVector<RtfListStyle> current_;
    QHash<int, QVector<RtfListStyle>> lists_;
    QHash<int, int> overrides_;
};

}  // namespace qmv
