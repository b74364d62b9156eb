// The focus entering and leaving a panel as a whole, together with the exit handlers of the
// code edits inside it: order, abandoned moves, handlers that move the focus themselves.
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "host/menserro.h"
#include "lookup/codelookup.h"
#include "lookup/focusregion.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

class Panel : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QHBoxLayout(&window_);
        auto* inner = new QHBoxLayout(&panel_);
        for (QLineEdit* e : {&first_, &firstName_, &second_})
            inner->addWidget(e);
        layout->addWidget(&panel_);
        layout->addWidget(&outside_);
        layout->addWidget(&further_);
        CodeLookup::makeNameBox(firstName_);
        group_.onExit = [this] {
            log_ << "field-exit";
            if (first_.text() == "BAD") {
                group_.refocus();
                MensErro("inválido", true);
            }
        };
        region_.onEnter = [this] { log_ << "enter"; };
        region_.onExit = [this] {
            log_ << "exit";
            if (second_.text().isEmpty()) {
                second_.setFocus();
                MensErro("vazio", true);
            }
            if (second_.text() == "FAIL")
                throw std::runtime_error("servidor fora do ar");
        };
        outside_.setFocus();  // the window opens with the focus outside the panel
        window_.show();
        QApplication::setActiveWindow(&window_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
        ASSERT_EQ(QApplication::focusWidget(), &outside_);
        ASSERT_TRUE(log_.isEmpty());
    }

    ScriptedUi ui_;
    QWidget window_;
    QWidget panel_;
    QLineEdit first_, firstName_, second_, outside_, further_;
    CodeLookup group_{first_, firstName_};
    FocusRegion region_{panel_};
    QStringList log_;
};

TEST_F(Panel, MovingInsideOrOutsideFiresNothing)
{
    first_.setFocus(Qt::MouseFocusReason);
    log_.clear();
    second_.setText("x");
    second_.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log_, QStringList({"field-exit"}));
    outside_.setFocus(Qt::TabFocusReason);
    log_.clear();
    further_.setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(log_.isEmpty());
}

TEST_F(Panel, EnteringAndLeavingFireOnceEachAfterTheFieldsOwnExit)
{
    first_.setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(log_, QStringList({"enter"}));
    EXPECT_TRUE(region_.inside());
    second_.setText("x");
    outside_.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log_, QStringList({"enter", "field-exit", "exit"}));
    EXPECT_FALSE(region_.inside());
    EXPECT_EQ(QApplication::focusWidget(), &outside_);
}

TEST_F(Panel, AFailedFieldExitAbandonsTheMoveAndThePanelExit)
{
    first_.setFocus(Qt::MouseFocusReason);
    first_.setText("BAD");
    second_.setText("x");
    log_.clear();
    outside_.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log_, QStringList({"field-exit"}));
    EXPECT_EQ(ui_.errors, QStringList({"inválido"}));
    EXPECT_EQ(QApplication::focusWidget(), &first_);
    EXPECT_TRUE(region_.inside());
}

TEST_F(Panel, APanelExitThatPutsTheFocusBackStaysInsideWithoutEntering)
{
    first_.setFocus(Qt::MouseFocusReason);
    log_.clear();
    outside_.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log_, QStringList({"field-exit", "exit"}));
    EXPECT_EQ(ui_.errors, QStringList({"vazio"}));
    EXPECT_EQ(QApplication::focusWidget(), &second_);
    EXPECT_TRUE(region_.inside());

    second_.setText("x");
    further_.setFocus(Qt::TabFocusReason);  // leaving again tries again
    EXPECT_EQ(log_, QStringList({"field-exit", "exit", "exit"}));
    EXPECT_FALSE(region_.inside());
}

TEST_F(Panel, AFailedPanelExitThatMovedNoFocusReturnsItToTheControlLeft)
{
    second_.setText("FAIL");
    second_.setFocus(Qt::MouseFocusReason);
    first_.setFocus(Qt::TabFocusReason);
    log_.clear();
    further_.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log_, QStringList({"field-exit", "exit"}));
    EXPECT_EQ(ui_.errors, QStringList({"servidor fora do ar"}));
    EXPECT_EQ(QApplication::focusWidget(), &first_);
    EXPECT_TRUE(region_.inside());
}

TEST_F(Panel, FocusInAnotherWindowIsIgnored)
{
    first_.setFocus(Qt::MouseFocusReason);
    log_.clear();
    QWidget other;
    QLineEdit otherEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    otherEdit.setFocus(Qt::OtherFocusReason);
    QApplication::setActiveWindow(&window_);
    EXPECT_TRUE(log_.isEmpty());
    EXPECT_TRUE(region_.inside());
}

}  // namespace
}  // namespace qmv
