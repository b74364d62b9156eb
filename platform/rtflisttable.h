#pragma once
// The list definitions of an RTF document (\listtable and \listoverridetable): which list style
// each \lsN paragraph at each level \ilvlN shows. Plain value type; any thread.
#include <QHash>
#include <QString>
#include <QTextListFormat>
#include <QVector>

namespace qmv {

class RtfListTable {
public:
    // While reading one \list: its levels in order, then its id.
    void beginList();
    void addLevel(int numberFormat, const QString& levelText);
    void endList(int listId);
    void addOverride(int listId, int ls);

    // The style of a paragraph in list `ls` at `level`; ListStyleUndefined when it shows no number
    // or bullet. A list the table does not define shows a bullet.
    QTextListFormat::Style style(int ls, int level) const;

    // \levelnfc values and back.
    static QTextListFormat::Style styleOf(int numberFormat, const QString& levelText);
    static int numberFormatOf(QTextListFormat::Style style);

private:
    QVector<QTextListFormat::Style> current_;
    QHash<int, QVector<QTextListFormat::Style>> lists_;
    QHash<int, int> overrides_;
};

}  // namespace qmv
