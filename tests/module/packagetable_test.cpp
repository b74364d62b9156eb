// The package's unit order and what each unit's initialisation and finalisation do to its state.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00501/cli_qmv00501.h"
#include "Cli_qmv00502/cli_qmv00502.h"
#include "Cli_qmv00503/cli_qmv00503.h"
#include "Cli_qmv00505/cli_qmv00505.h"
#include "Cli_qmv00506/cli_qmv00506.h"
#include "module/packagetable.h"

namespace qmv {
namespace {

TEST(PackageTable, ListsTheDialogsFirstAndTheMainScreenLast)
{
    std::vector<std::string> names;
    for (const PackageUnit& unit : packageUnitTable())
        names.emplace_back(unit.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Cli_qmv00501", "Cli_qmv00502", "Cli_qmv00503", "Cli_qmv00505",
                                               "Cli_qmv00506", "Cli_qmv00500"}));
}

TEST(PackageTable, LoadClearsTheFlagsAndArmsTheFirstFilterOpening)
{
    packageUnits().finalize();
    Cli_qmv00500::boStCriado = Cli_qmv00500::boControle = true;
    Cli_qmv00501::boIDCriado = true;
    Cli_qmv00501::boPrimVez = false;
    Cli_qmv00502::boIdCriado = Cli_qmv00503::boIdCriado = true;
    Cli_qmv00505::boStCriado = Cli_qmv00506::boStCriado = true;

    packageUnits().initialize();
    EXPECT_FALSE(Cli_qmv00500::boStCriado);
    EXPECT_FALSE(Cli_qmv00500::boControle);
    EXPECT_FALSE(Cli_qmv00501::boIDCriado);
    EXPECT_TRUE(Cli_qmv00501::boPrimVez);
    EXPECT_FALSE(Cli_qmv00502::boIdCriado);
    EXPECT_FALSE(Cli_qmv00503::boIdCriado);
    EXPECT_FALSE(Cli_qmv00505::boStCriado);
    EXPECT_FALSE(Cli_qmv00506::boStCriado);
}

TEST(PackageTable, StateOutlivesTheWindowsUntilUnloadReleasesTheTexts)
{
    packageUnits().initialize();
    Cli_qmv00501::Filtro = {QStringLiteral("1"), QStringLiteral("0")};
    Cli_qmv00501::boPrimVez = false;
    Cli_qmv00503::stLista = QStringLiteral("1.01.001,1.01.002");
    Cli_qmv00506::stIdProgram = QStringLiteral("X");
    packageUnits().initialize();
    EXPECT_EQ(Cli_qmv00501::Filtro.foto, QStringLiteral("1")) << "a second initialise within one load changes nothing";
    EXPECT_FALSE(Cli_qmv00501::boPrimVez);

    packageUnits().finalize();
    EXPECT_TRUE(Cli_qmv00501::Filtro.foto.isEmpty());
    EXPECT_TRUE(Cli_qmv00501::Filtro.montagem.isEmpty());
    EXPECT_TRUE(Cli_qmv00503::stLista.isEmpty());
    EXPECT_TRUE(Cli_qmv00506::stIdProgram.isEmpty());
    packageUnits().initialize();
}

}  // namespace
}  // namespace qmv
