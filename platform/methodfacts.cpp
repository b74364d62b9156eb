#include "platform/methodfacts.h"

#include <algorithm>

namespace qmv::wire {

namespace {

constexpr MethodFacts methods[] = {
    {u"GetSubGruSeMa", "TTTTTT"},
    {u"GetServManual", "TTTT"},
    {u"GetSubGruPrin", "TTTTTTTT"},
    {u"GetFotoSubMa", "TT"},
    {u"GetFotoSeMa", "TT"},
    {u"GetEquiSubSeMa", "TTT"},
    {u"GetProRecSeMa", "TTTTTTT"},
    {u"GetImpInsMont", "TTTT"},
    {u"GetParametros", "T"},
    {u"GetEquipamentos", "TTTT"},
    {u"GetEquipAux", "TTTTTTTT"},
    {u"GetPesqServManual", "TTTTT"},
    {u"GetPesqSubGrupos", "TTTT"},
    {u"GetEmissaoManual", "TTTT"},
    {u"GetEmissaoServico", "TTTTT"},
    {u"InsereEquip", "TTTTTI"},
    {u"ImportaFoto", "TTTTTTTTT"},
    {u"SetSubGruSeMa", "CT"},  // the change set, then the fields the user emptied
    {u"SetEquiSubSeMa", "C"},
    {u"SetProRecSeMa", "C"},
    {u"SetFotoSubMa", "C"},
    {u"SetFotoSeMa", "C"},
    {u"GetHistSubGru", "TT"},
    {u"GetHistServico", "TTTT"},
    {u"GetHistLote", "TT"},
    {u"GetHistConteudo", "T"},
    {u"GetImportacoes", "TTTT"},
    {u"RestauraHist", "TTT"},  // the entry, then the newest entry of its row the caller saw
    {u"DesfazImportaFoto", "TT"},
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
