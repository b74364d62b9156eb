#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "host/controls.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tmessages.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

TEST(TMessages, GivesTheTextOfEachKey)
{
    TMessages msg(nullptr, "msgPadrao");
    msg.setMessages({"Excl|Confirma exclusão?", "Dir_Inv|O diretório \"%s\" não|existe."});
    EXPECT_EQ(msg.Msg("Excl"), "Confirma exclusão?");
    EXPECT_EQ(msg.Msg("Dir_Inv"), "O diretório \"%s\" não|existe.");
    msg.add("Cia_Vaz", "Companhia deve ser informada.");
    EXPECT_EQ(msg.Msg("Cia_Vaz"), "Companhia deve ser informada.");
    EXPECT_EQ(msg.Msg("Excl"), "Confirma exclusão?");
}

TEST(TMessages, RefusesUnknownKeysAndMalformedEntries)
{
    TMessages msg(nullptr, "msgPadrao");
    msg.setMessages({"Excl|Confirma exclusão?"});
    EXPECT_THROW(msg.Msg("excl"), std::out_of_range);
    EXPECT_THROW(msg.setMessages({"sem barra"}), std::invalid_argument);
    EXPECT_THROW(msg.setMessages({"|texto"}), std::invalid_argument);
    EXPECT_EQ(msg.Msg("Excl"), "Confirma exclusão?");  // a refused table leaves the old one
}

TEST(TMessages, ShowMsgReturnsSixForYesAndSevenForNo)
{
    ScriptedUi ui;
    TMessages msg;
    msg.setMessages({"Excl_Foto|Confirma exclusão da foto?", "Erro|Falhou."});
    ui.answerYesNo(true);
    ui.answerYesNo(false);
    EXPECT_EQ(msg.ShowMsg("Excl_Foto", MsgType::Confirmation, mbYes | mbNo, 0), 6);
    EXPECT_EQ(msg.ShowMsg("Excl_Foto", MsgType::Confirmation, mbYes | mbNo, 0), 7);
    EXPECT_EQ(ui.questions, (QStringList{"Confirma exclusão da foto?", "Confirma exclusão da foto?"}));
    EXPECT_EQ(msg.ShowMsg("Erro", MsgType::Error, mbOK), mrOk);
    EXPECT_EQ(ui.errors, QStringList{"Falhou."});
}

TEST(TButtonFlat, ToggleKeepsItsDownStateAndClickRunsFromCode)
{
    QWidget form;
    TButtonFlat toggle(&form, "sbtAutoExibe", "Exibição Automática", true);
    TButtonFlat plain(&form, "sbtFechar", "Fechar");
    QSignalSpy clicks(&plain, &QToolButton::clicked);
    EXPECT_EQ(toggle.toolTip(), "Exibição Automática");
    EXPECT_FALSE(toggle.Down());
    toggle.Click();
    EXPECT_TRUE(toggle.Down());
    toggle.Click();
    EXPECT_FALSE(toggle.Down());
    plain.Click();
    EXPECT_EQ(clicks.count(), 1);
    plain.setEnabled(false);
    plain.Click();
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TCustomPageControl98, ChangeComesOnlyFromAPersonsChoice)
{
    TCustomPageControl98 pages(nullptr, "pgcPadrao");
    auto* first = pages.addSheet(new QWidget, "Sub-Grupo");
    auto* second = pages.addSheet(new QWidget, "Foto Sub-Grupo");
    QSignalSpy changes(&pages, &TCustomPageControl98::Change);
    pages.resize(400, 300);
    pages.show();
    pages.SetActivePage(second);
    EXPECT_EQ(pages.ActivePage(), second);
    EXPECT_EQ(changes.count(), 0);
    QTest::mouseClick(pages.tabBar(), Qt::LeftButton, {}, pages.tabBar()->tabRect(0).center());
    EXPECT_EQ(pages.ActivePage(), first);
    EXPECT_EQ(changes.count(), 1);
}

TEST(TCustomPageControl98, ASheetDisabledDisablesItsTab)
{
    TCustomPageControl98 pages;
    auto* first = pages.addSheet(new QWidget, "Sub-Grupo");
    auto* second = pages.addSheet(new QWidget, "Foto Sub-Grupo");
    second->setEnabled(false);
    EXPECT_FALSE(pages.tabBar()->isTabEnabled(1));
    EXPECT_FALSE(second->isEnabled());
    pages.setEnabled(false);  // the control as a whole: the sheet's own setting is kept
    pages.setEnabled(true);
    EXPECT_FALSE(pages.tabBar()->isTabEnabled(1));
    EXPECT_TRUE(pages.tabBar()->isTabEnabled(0));
    second->setEnabled(true);
    EXPECT_TRUE(pages.tabBar()->isTabEnabled(1));
    EXPECT_EQ(pages.ActivePage(), first);
}

struct Panel {
    QWidget window;
    QWidget* panel = new QWidget(&window);
    QLineEdit* a = new QLineEdit(panel);
    QLineEdit* b = new QLineEdit(panel);
    QWidget* group = new QWidget(panel);
    QLineEdit* c = new QLineEdit(group);
    QLineEdit* outside = new QLineEdit(&window);
    Panel()
    {
        auto* panelLayout = new QVBoxLayout(panel);
        panelLayout->addWidget(a);
        panelLayout->addWidget(b);
        panelLayout->addWidget(group);
        (new QVBoxLayout(group))->addWidget(c);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(panel);
        layout->addWidget(outside);
        window.show();
        QApplication::setActiveWindow(&window);
    }
};

TEST(ControlRoutines, SetChildEnabledGivesBackOnlyWhatItTook)
{
    Panel p;
    p.b->setEnabled(false);  // disabled for a reason of its own
    SetChildEnabled(p.panel, false);
    EXPECT_FALSE(p.a->isEnabled());
    EXPECT_FALSE(p.c->isEnabled());
    EXPECT_TRUE(p.panel->isEnabled());
    SetChildEnabled(p.panel, true);
    EXPECT_TRUE(p.a->isEnabled());
    EXPECT_TRUE(p.c->isEnabled());
    EXPECT_FALSE(p.b->isEnabled());
}

TEST(ControlRoutines, SelectNextControlWalksTheTabOrderInsideTheContainer)
{
    Panel p;
    p.outside->setFocus();
    EXPECT_EQ(SelectNextControl(p.panel, true, true, false), p.a);
    EXPECT_EQ(SelectNextControl(p.panel, true, true, false), p.b);
    EXPECT_EQ(SelectNextControl(p.panel, true, true, false), p.c);
    EXPECT_EQ(SelectNextControl(p.panel, true, true, false), p.a);  // wraps
    p.outside->setFocus();
    EXPECT_EQ(SelectNextControl(p.panel, false, true, false), p.c);
    EXPECT_EQ(SelectNextControl(p.panel, false, true, true), p.b);  // c's parent is not the panel
    p.b->setEnabled(false);
    p.outside->setFocus();
    QWidget* last = SelectNextControl(p.panel, false, true, false);
    EXPECT_EQ(last, p.c);
    EXPECT_EQ(SelectFirstControl(last->parentWidget()), p.c);
    EXPECT_EQ(SelectFirstControl(p.panel), p.a);
    EXPECT_EQ(QApplication::focusWidget(), p.a);
    EXPECT_EQ(SelectNextControl(new QWidget(&p.window), true, true, false), nullptr);
}

}  // namespace
}  // namespace qmv
