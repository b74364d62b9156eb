#include "platform/methodfacts.h"

#include <algorithm>

namespace qmv::wire {

namespace {

constexpr MethodFacts methods[] = {
    {u"GetSubGruSeMa", "RTTTTT"},
    {u"GetServManual", "TRTT"},
    {u"GetSubGruPrin", "RTTTTTTT"},
    {u"GetFotoSubMa", "TT"},
    {u"GetFotoSeMa", "TT"},
    {u"GetEquiSubSeMa", "TTT"},
    {u"GetProRecSeMa", "RTTTTTT"},
    {u"GetImpInsMont", "TTTT"},
    {u"GetParametros", "R"},
    {u"GetEquipamentos", "RTTT"},
    {u"GetEquipAux", "RTTTTTTT"},
    {u"GetPesqServManual", "RTTTT"},
    {u"GetPesqSubGrupos", "RTTT"},
    {u"GetEmissaoManual", "TTTT"},
    {u"GetEmissaoServico", "TTTTT"},
    {u"InsereEquip", "WTTTTI"},
    {u"ImportaFoto", "RTTTWTTTT"},
    {u"SetSubGruSeMa", "CT"},  // the change set, then the fields the user emptied
    {u"SetEquiSubSeMa", "C"},
    {u"SetProRecSeMa", "C"},
    {u"SetFotoSubMa", "C"},
    {u"SetFotoSeMa", "C"},
    {u"GetHistSubGru", "RT"},
    {u"GetHistServico", "RTTT"},
    {u"GetHistLote", "RT"},
    {u"GetHistConteudo", "T"},
    {u"GetImportacoes", "RTTT"},
    {u"RestauraHist", "WTT"},  // the branch, the entry, then the newest entry of its row the caller saw
    {u"DesfazImportaFoto", "WT"},
};

}  // namespace

std::span<const MethodFacts> remoteMethods()
{
    return methods;
}

const MethodFacts* methodFacts(QStringView name)
{
    const auto found = std::find_if(std::begin(methods), std::end(methods),
                                    [&](const MethodFacts& facts) { return facts.name == name; });
    return found == std::end(methods) ? nullptr : found;
}

}  // namespace qmv::wire
