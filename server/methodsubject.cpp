#include "server/methodsubject.h"

#include <QHash>

namespace qmv {

QString methodSubject(const QString& method)
{
    static const QHash<QString, QString> subjects{
        {QStringLiteral("GetSubGruSeMa"), QStringLiteral("leitura dos sub-grupos")},
        {QStringLiteral("GetServManual"), QStringLiteral("leitura dos serviços do manual")},
        {QStringLiteral("GetSubGruPrin"), QStringLiteral("leitura dos sub-grupos principais")},
        {QStringLiteral("GetFotoSubMa"), QStringLiteral("leitura das instruções de montagem")},
        {QStringLiteral("GetFotoSeMa"), QStringLiteral("leitura da foto")},
        {QStringLiteral("GetEquiSubSeMa"), QStringLiteral("leitura dos equipamentos")},
        {QStringLiteral("GetProRecSeMa"), QStringLiteral("leitura dos produtos e receitas")},
        {QStringLiteral("GetImpInsMont"), QStringLiteral("leitura das instruções de outros sub-grupos")},
        {QStringLiteral("GetParametros"), QStringLiteral("leitura dos parâmetros da filial")},
        {QStringLiteral("GetEquipamentos"), QStringLiteral("leitura dos equipamentos cadastrados")},
        {QStringLiteral("GetEquipAux"), QStringLiteral("leitura da lista de equipamentos")},
        {QStringLiteral("InsereEquip"), QStringLiteral("inclusão dos equipamentos")},
        {QStringLiteral("GetPesqServManual"), QStringLiteral("leitura dos serviços de origem")},
        {QStringLiteral("GetPesqSubGrupos"), QStringLiteral("leitura dos sub-grupos de origem")},
        {QStringLiteral("ImportaFoto"), QStringLiteral("importação das fotos")},
        {QStringLiteral("GetEmissaoManual"), QStringLiteral("leitura do manual para a emissão")},
        {QStringLiteral("GetEmissaoServico"), QStringLiteral("leitura do serviço para a emissão")},
        {QStringLiteral("SetSubGruSeMa"), QStringLiteral("gravação do sub-grupo")},
        {QStringLiteral("SetEquiSubSeMa"), QStringLiteral("gravação dos equipamentos")},
        {QStringLiteral("SetProRecSeMa"), QStringLiteral("gravação dos produtos e receitas")},
        {QStringLiteral("SetFotoSubMa"), QStringLiteral("gravação das instruções de montagem")},
        {QStringLiteral("SetFotoSeMa"), QStringLiteral("gravação da foto")},
    };
    return subjects.value(method, method);
}

}  // namespace qmv
