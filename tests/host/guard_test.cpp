#include <gtest/gtest.h>
#include <stdexcept>

#include "host/guard.h"
#include "host/loadbpl.h"
#include "host/menserro.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

TEST(Guard, AbortEndsTheEventSilently)
{
    ScriptedUi ui;
    bool after = false;
    EXPECT_FALSE(guard([&] {
        throw Abort();
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_TRUE(ui.log.isEmpty());
}

TEST(Guard, OtherExceptionsAreShownAndNotRethrown)
{
    ScriptedUi ui;
    EXPECT_FALSE(guard([] { throw std::runtime_error("Falha de rede"); }));
    EXPECT_FALSE(guard([] { throw 42; }));
    EXPECT_EQ(ui.errors, (QStringList{"Falha de rede", "Erro inesperado."}));
    EXPECT_TRUE(guard([] {}));
}

TEST(Guard, SurvivesWhenNoUiIsInstalled)
{
    ASSERT_FALSE(hasUi());
    EXPECT_FALSE(guard([] { throw std::runtime_error("sem interface"); }));
}

TEST(Guard, GuardedPassesSignalArgumentsThrough)
{
    ScriptedUi ui;
    int sum = 0;
    auto slot = guarded([&](int a, int b) {
        sum = a + b;
        if (sum > 10)
            MensErro("grande", true);
    });
    slot(2, 3);
    EXPECT_EQ(sum, 5);
    slot(7, 8);
    EXPECT_EQ(ui.errors, QStringList{"grande"});
}

TEST(Guard, GuardedHandlerWithoutArgumentsTakesASignalWithOne)
{
    ScriptedUi ui;
    int clicks = 0;
    auto slot = guarded([&] { ++clicks; });
    slot(true);
    slot();
    EXPECT_EQ(clicks, 2);
}

TEST(MensErro, ShowsThenAbortsSoNothingAfterItRuns)
{
    ScriptedUi ui;
    bool after = false;
    guard([&] {
        MensErro("Filial deve ser informada.", true);
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_EQ(ui.errors, QStringList{"Filial deve ser informada."});
    EXPECT_NO_THROW(MensErro("só aviso", false));
    EXPECT_EQ(ui.errors.size(), 2);
}

TEST(LoadBPL, WithoutALoaderShowsAClearMessageAndAborts)
{
    ScriptedUi ui;
    setPackageLoader({});
    EXPECT_THROW(LoadBPL("QMV01200", {"QMV00500"}), Abort);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains("QMV01200"));
}

TEST(LoadBPL, PassesNameAndParametersAndReportsALoaderFailure)
{
    ScriptedUi ui;
    QString gotName;
    QVariantList gotParameters;
    setPackageLoader([&](const QString& name, const QVariantList& parameters) {
        gotName = name;
        gotParameters = parameters;
        if (name == "QMV09999")
            throw std::runtime_error("pacote libqmv09999.so não encontrado");
    });
    LoadBPL("QMV01200", {"QMV00500", 7});
    EXPECT_EQ(gotName, "QMV01200");
    EXPECT_EQ(gotParameters, (QVariantList{"QMV00500", 7}));
    EXPECT_TRUE(ui.errors.isEmpty());

    EXPECT_THROW(LoadBPL("QMV09999", {}), Abort);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains("libqmv09999.so não encontrado"));
    setPackageLoader({});
}

}  // namespace
}  // namespace qmv
