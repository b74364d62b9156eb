// The automatic display's walk over a list, without windows: the rows shown one step after another
// from the first row going forward, on lists of three, one and no rows, and on a closed list.
#include <gtest/gtest.h>

#include "Cli_qmv00500/autodisplay.h"
#include "platform/dataset.h"

namespace qmv {
namespace {

DataPacket listOf(int rows)
{
    DataPacket packet;
    packet.fields = {FieldDef{QStringLiteral("CDSUBGRU"), FieldKind::Text, 10}};
    for (int i = 1; i <= rows; ++i)
        packet.rows.append(Row{QStringLiteral("S%1").arg(i)});
    return packet;
}

TEST(AutoDisplayStep, WalksForwardThenBackTurningRoundAtEachEnd)
{
    struct Case {
        int rows;
        QList<int> shown;       // the current row (1-based) after each step
        QList<int> directions;  // the direction after each step
        int moves;
    };
    const Case cases[] = {
        {3, {2, 3, 3, 3, 2, 1, 1, 1, 2, 3}, {0, 0, 0, 1, 1, 1, 1, 0, 0, 0}, 6},
        {1, {1, 1, 1, 1, 1, 1}, {0, 1, 1, 0, 0, 1}, 0},
        {0, {0, 0, 0, 0}, {1, 0, 1, 0}, 0},
    };
    for (const Case& c : cases) {
        DataSet list;
        list.loadPacket(listOf(c.rows));
        int moves = 0;
        list.afterScroll = [&](DataSet&) { ++moves; };
        QList<int> shown;
        QList<int> directions;
        int direction = kAutoDisplayForward;
        for (qsizetype i = 0; i < c.shown.size(); ++i) {
            direction = autoDisplayStep(list, direction);
            shown << list.recNo();
            directions << direction;
        }
        EXPECT_EQ(shown, c.shown) << c.rows << " rows";
        EXPECT_EQ(directions, c.directions) << c.rows << " rows";
        EXPECT_EQ(moves, c.moves) << c.rows << " rows";
    }
}

TEST(AutoDisplayStep, AClosedListOnlyTurnsRoundAndAnUnknownDirectionDoesNothing)
{
    DataSet closed;
    closed.addField({QStringLiteral("CDSUBGRU"), FieldKind::Text, 10});
    EXPECT_EQ(autoDisplayStep(closed, kAutoDisplayForward), kAutoDisplayBackward);
    EXPECT_EQ(autoDisplayStep(closed, kAutoDisplayBackward), kAutoDisplayForward);

    DataSet list;
    list.loadPacket(listOf(3));
    EXPECT_EQ(autoDisplayStep(list, 2), 2);
    EXPECT_EQ(autoDisplayStep(list, -1), -1);
    EXPECT_EQ(list.recNo(), 1);
}

}  // namespace
}  // namespace qmv
