#include "appserver/demo/demodata.h"

#include "appserver/demo/demopictures.h"
#include "appserver/demo/demotexts.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/schema.h"
#include "appserver/database/sql.h"
#include "appserver/database/transactionguard.h"

#include <QDateTime>
#include <QHash>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

// A small deterministic generator, so every demo database is the same.
class Dice {
public:
    int roll(int low, int high)  // inclusive
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return low + int((state_ >> 33) % quint64(high - low + 1));
    }

private:
    quint64 state_ = 20261207;
};

struct SubgroupDef {
    const char16_t* name;
    const char16_t* print;
};

const SubgroupDef subgroups[] = {
    {u"Prato Quente Principal", u"Prato quente"}, {u"Guarnição de Legumes", u"Legumes"},
    {u"Arroz Branco", u"Arroz"},                 {u"Feijão Carioca", u"Feijão"},
    {u"Salada Verde", u"Salada"},                {u"Molho da Salada", u"Molho"},
    {u"Pão Francês", u"Pão"},                    {u"Manteiga Individual", u"Manteiga"},
    {u"Sobremesa do Dia", u"Sobremesa"},         {u"Fruta da Estação", u"Fruta"},
    {u"Queijo e Frios", u"Frios"},               {u"Iogurte Natural", u"Iogurte"},
    {u"Cereal Matinal", u"Cereal"},              {u"Omelete de Queijo", u"Omelete"},
    {u"Bolo Caseiro", u"Bolo"},                  {u"Café", u"Café"},
    {u"Chá Sortido", u"Chá"},                    {u"Leite Integral", u"Leite"},
    {u"Suco de Laranja", u"Suco"},               {u"Água Mineral", u"Água"},
    {u"Refrigerante Lata", u"Refrigerante"},     {u"Açúcar e Adoçante", u"Açúcar"},
    {u"Talheres Descartáveis", u"Talheres"},     {u"Guardanapo de Papel", u"Guardanapo"},
    {u"Toalha de Bandeja", u"Toalha"},           {u"Sopa Creme", u"Sopa"},
    {u"Canapés Frios", u"Canapés"},              {u"Entrada Quente", u"Entrada"},
    {u"Massa ao Sugo", u"Massa"},                {u"Peixe Grelhado", u"Peixe"},
    {u"Frango Assado", u"Frango"},               {u"Carne ao Molho", u"Carne"},
    {u"Purê de Batata", u"Purê"},                {u"Farofa", u"Farofa"},
    {u"Vinagrete", u"Vinagrete"},                {u"Doce de Leite", u"Doce"},
    {u"Chocolate Individual", u"Chocolate"},     {u"Biscoito Salgado", u"Biscoito"},
    {u"Castanhas", u"Castanhas"},                {u"Sanduíche Natural", u"Sanduíche"},
    {u"Wrap de Frango", u"Wrap"},                {u"Tapioca", u"Tapioca"},
    {u"Pão de Queijo", u"Pão de queijo"},        {u"Mingau de Aveia", u"Mingau"},
    {u"Gelatina", u"Gelatina"},
};
constexpr int subgroupCount = int(std::size(subgroups));

struct ItemDef {
    const char16_t* code;
    const char16_t* name;
    const char16_t* unit;
    const char16_t* classification;
};

const ItemDef equipment[] = {
    {u"4.01.001", u"Bandeja Retangular Grande", u"UN", u"0001"},
    {u"4.01.002", u"Bandeja Oval", u"UN", u"0001"},
    {u"4.01.003", u"Prato Raso de Porcelana", u"UN", u"0002"},
    {u"4.01.004", u"Prato Fundo de Porcelana", u"UN", u"0002"},
    {u"4.01.005", u"Ramequim de Louça", u"UN", u"0002"},
    {u"4.01.006", u"Taça de Sobremesa", u"UN", u"0002"},
    {u"4.02.001", u"Forno de Convecção", u"UN", u"0003"},
    {u"4.02.002", u"Carro de Bordo Completo", u"UN", u"0003"},
    {u"4.02.003", u"Caixa Térmica", u"UN", u"0003"},
    {u"4.03.001", u"Talher de Aço Inox", u"JG", u"0001"},
    {u"4.03.002", u"Pinça de Servir", u"UN", u"0001"},
    {u"4.03.003", u"Concha de Molho", u"UN", u"0001"},
    {u"4.03.004", u"Espátula de Silicone", u"UN", u"0001"},
    {u"4.03.005", u"Filme Plástico", u"RL", u"0004"},
    {u"4.03.006", u"Papel Alumínio", u"RL", u"0004"},
};

const ItemDef products[] = {
    {u"2.01.001", u"Arroz Agulhinha", u"KG", u"0005"},   {u"2.01.002", u"Feijão Carioca", u"KG", u"0005"},
    {u"2.01.003", u"Batata Inglesa", u"KG", u"0005"},    {u"2.01.004", u"Alface Crespa", u"UN", u"0005"},
    {u"2.01.005", u"Tomate Italiano", u"KG", u"0005"},   {u"2.01.006", u"Cenoura", u"KG", u"0005"},
    {u"2.02.001", u"Filé de Frango", u"KG", u"0005"},    {u"2.02.002", u"Filé de Tilápia", u"KG", u"0005"},
    {u"2.02.003", u"Carne Bovina Patinho", u"KG", u"0005"},
    {u"2.03.001", u"Leite Integral", u"L", u"0005"},     {u"2.03.002", u"Queijo Minas", u"KG", u"0005"},
    {u"2.03.003", u"Manteiga com Sal", u"KG", u"0005"},  {u"2.04.001", u"Pão Francês", u"UN", u"0005"},
    {u"2.04.002", u"Farinha de Mandioca", u"KG", u"0005"}, {u"2.05.001", u"Café em Pó", u"KG", u"0005"},
    {u"2.05.002", u"Açúcar Refinado", u"KG", u"0005"},   {u"2.05.003", u"Suco de Laranja", u"L", u"0005"},
    {u"2.05.004", u"Água Mineral 500 ml", u"UN", u"0005"},
};

const ItemDef recipes[] = {
    {u"5.01.001", u"Frango Assado com Ervas", u"PORC", u"0006"},
    {u"5.01.002", u"Tilápia Grelhada ao Limão", u"PORC", u"0006"},
    {u"5.01.003", u"Carne ao Molho Madeira", u"PORC", u"0006"},
    {u"5.01.004", u"Purê de Batata Cremoso", u"PORC", u"0006"},
    {u"5.02.001", u"Salada Verde Temperada", u"PORC", u"0006"},
    {u"5.02.002", u"Vinagrete da Casa", u"PORC", u"0006"},
    {u"5.03.001", u"Bolo de Laranja", u"FATIA", u"0006"},
    {u"5.03.002", u"Pudim de Leite", u"PORC", u"0006"},
    {u"5.03.003", u"Gelatina de Morango", u"PORC", u"0006"},
    {u"5.04.001", u"Omelete de Queijo", u"PORC", u"0006"},
};

class DemoWriter {
public:
    explicit DemoWriter(const QSqlDatabase& db) : db_(db) {}

    QString write()
    {
        references();
        catalogue();
        manuals();
        return u"Demo: %1 filiais, %2 manuais, %3 serviços de manual, %4 sub-grupos, %5 fotos, %6 instruções."_s
            .arg(3).arg(manuals_).arg(services_).arg(rows_).arg(photos_).arg(instructions_);
    }

private:
    void exec(const QString& sql, const QVariantList& params = {}) { runSql(db_, sql, params); }

    void references()
    {
        const QList<QStringList> branches = {{u"0001"_s, u"Cozinha Central Guarulhos"_s, u"INS"_s},
                                             {u"0002"_s, u"Unidade Campinas"_s, u"INS"_s},
                                             {u"0003"_s, u"Unidade Galeão"_s, u"MON"_s}};
        for (const QStringList& b : branches) {
            exec(u"INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES (?, ?)"_s, {b[0], b[1]});
            exec(u"INSERT INTO PARAMFILIAL (CDFILIAL, CDTIPODOCU) VALUES (?, ?)"_s, {b[0], b[2]});
        }
        const QList<QStringList> companies = {{u"0001"_s, u"CAZUL"_s, u"Céu Azul Linhas Aéreas"_s},
                                              {u"0002"_s, u"RSUL"_s, u"Rota Sul Aviação"_s},
                                              {u"0003"_s, u"HVIDA"_s, u"Hospital Vida Plena"_s},
                                              {u"0004"_s, u"AUROR"_s, u"Colégio Aurora"_s}};
        for (const QStringList& c : companies)
            exec(u"INSERT INTO COMPANHIA (CDCIA, SGCIA, NMCIA) VALUES (?, ?, ?)"_s, {c[0], c[1], c[2]});
        links_ = {{u"0001"_s, u"0001"_s}, {u"0001"_s, u"0002"_s}, {u"0001"_s, u"0003"_s},
                  {u"0001"_s, u"0004"_s}, {u"0002"_s, u"0001"_s}, {u"0002"_s, u"0003"_s},
                  {u"0003"_s, u"0001"_s}, {u"0003"_s, u"0002"_s}};
        for (const auto& [branch, company] : links_)
            exec(u"INSERT INTO CIAFILI (CDFILIAL, CDCIA) VALUES (?, ?)"_s, {branch, company});
        const QList<QStringList> classes = {{u"0001"_s, u"ECON"_s, u"Econômica"_s},
                                            {u"0002"_s, u"EXEC"_s, u"Executiva"_s},
                                            {u"0003"_s, u"PRIM"_s, u"Primeira"_s},
                                            {u"0004"_s, u"PAC"_s, u"Paciente"_s}};
        for (const QStringList& c : classes)
            exec(u"INSERT INTO CLASSE (CDCLASSE, SGCLASSE, DSCLASSE) VALUES (?, ?, ?)"_s, {c[0], c[1], c[2]});
        const QList<QStringList> cycles = {{u"0001"_s, u"Ciclo 1"_s}, {u"0002"_s, u"Ciclo 2"_s},
                                           {u"0003"_s, u"Semanal"_s}};
        for (const QStringList& c : cycles)
            exec(u"INSERT INTO CICLO (CDCICLO, IDCICLO, DSCICLO) VALUES (?, ?, ?)"_s, {c[0], c[1], c[1]});
    }

    void catalogue()
    {
        const QList<QStringList> classifications = {
            {u"0001"_s, u"Utensílio"_s},     {u"0002"_s, u"Louça"_s},          {u"0003"_s, u"Equipamento de Bordo"_s},
            {u"0004"_s, u"Descartável"_s},   {u"0005"_s, u"Matéria-prima"_s}, {u"0006"_s, u"Receita"_s}};
        for (const QStringList& c : classifications)
            exec(u"INSERT INTO CLASSIFICACAO (CDCLASSIFIC, NMCLASSIFICACAO) VALUES (?, ?)"_s, {c[0], c[1]});
        int serial = 1;
        auto addItems = [&](const auto& items, const QString& kind, QStringList& codes) {
            for (const ItemDef& item : items) {
                const QString code = u"%1"_s.arg(serial++, 7, 10, QChar(u'0'));
                exec(u"INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO, IDTPPRODUTO, NRNIVEL, SGUNIDADE, "
                     "CDCLASSIFIC) VALUES (?, ?, ?, ?, 3, ?, ?)"_s,
                     {code, QString::fromUtf16(item.code), QString::fromUtf16(item.name), kind,
                      QString::fromUtf16(item.unit), QString::fromUtf16(item.classification)});
                codes << code;
            }
        };
        addItems(equipment, u"E"_s, equipmentCodes_);
        addItems(products, u"P"_s, productCodes_);
        addItems(recipes, u"R"_s, productCodes_);
        for (const auto& [branch, company] : links_)
            for (const QString& code : equipmentCodes_)
                exec(u"INSERT INTO EQUIPCIA (CDFILIAL, CDCIA, CDPRODUTO) VALUES (?, ?, ?)"_s, {branch, company, code});
        for (int i = 0; i < subgroupCount; ++i) {
            const QString code = u"%1"_s.arg(1000001 + i);
            const QString tree = u"3.%1.%2"_s.arg(i / 10 + 1, 2, 10, QChar(u'0')).arg(i % 10 + 1, 3, 10, QChar(u'0'));
            exec(u"INSERT INTO SUBGRUPO (CDSUBGRU, CDSUBARV, DSSUBGRU, DSSUBGRUPROD, CDTIPOCOMP) VALUES (?, ?, ?, ?, ?)"_s,
                 {code, tree, QString::fromUtf16(subgroups[i].name), QString::fromUtf16(subgroups[i].name).toUpper(),
                  i % 3 == 0 ? u"QTE"_s : u"FRI"_s});
            subgroupCodes_ << code;
            photosBySubgroup_ << demoPhoto(QString::fromUtf16(subgroups[i].name), i);
        }
        const QList<QStringList> services = {
            {u"1.01.001"_s, u"Café da Manhã Continental"_s}, {u"1.01.002"_s, u"Café da Manhã Brasileiro"_s},
            {u"1.02.001"_s, u"Almoço Executivo"_s},          {u"1.02.002"_s, u"Almoço Tradicional"_s},
            {u"1.03.001"_s, u"Lanche da Tarde"_s},           {u"1.03.002"_s, u"Lanche Rápido"_s},
            {u"1.04.001"_s, u"Jantar Completo"_s},           {u"1.04.002"_s, u"Ceia Leve"_s}};
        for (const QStringList& s : services) {
            // The internal code is the tree code right-aligned to 10 with zeros, as users type it.
            const QString internal = s[0].rightJustified(10, u'0');
            exec(u"INSERT INTO SERVICO (CDSERVICO, CDARVSERV, DSSERVICO) VALUES (?, ?, ?)"_s, {internal, s[0], s[1]});
            serviceCodes_ << internal;
            serviceNames_ << s[1];
        }
    }

    void manuals()
    {
        const QStringList names = {u"Manual Verão 2026"_s, u"Manual Inverno 2026"_s, u"Manual Executivo"_s};
        for (const auto& [branch, company] : links_) {
            const int count = dice_.roll(1, 3);
            for (int m = 1; m <= count; ++m) {
                const QString manual = u"%1"_s.arg(m, 4, 10, QChar(u'0'));
                exec(u"INSERT INTO MANUALCIA (CDFILIAL, CDCIA, CDMANCIA, DSMANUAL, IDTPMANUAL) VALUES (?, ?, ?, ?, 'M')"_s,
                     {branch, company, manual, names[m - 1]});
                ++manuals_;
                manualServices(branch, company, manual);
            }
            // A manual of another type, which the screen never lists.
            exec(u"INSERT INTO MANUALCIA (CDFILIAL, CDCIA, CDMANCIA, DSMANUAL, IDTPMANUAL) VALUES (?, ?, '0099', "
                 "'Manual de Custos', 'C')"_s,
                 {branch, company});
        }
    }

    void manualServices(const QString& branch, const QString& company, const QString& manual)
    {
        const int first = dice_.roll(0, serviceCodes_.size() - 1);
        const int count = dice_.roll(2, 4);
        for (int s = 0; s < count; ++s) {
            const QString service = serviceCodes_[(first + s) % serviceCodes_.size()];
            const QString serviceClass = company == u"0003" ? u"0004"_s : u"%1"_s.arg(dice_.roll(1, 3), 4, 10, QChar(u'0'));
            const QString cycle = u"%1"_s.arg(dice_.roll(1, 3), 4, 10, QChar(u'0'));
            exec(u"INSERT INTO SERVMANUAL (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO) VALUES (?, ?, ?, ?, ?, ?)"_s,
                 {branch, company, manual, service, serviceClass, cycle});
            ++services_;
            serviceSubgroups({branch, company, manual, service, serviceClass, cycle});
        }
    }

    void serviceSubgroups(const QVariantList& key)
    {
        const int count = dice_.roll(5, 40);
        const int first = dice_.roll(0, subgroupCount - 1);
        const QDateTime effective(QDate(2026, dice_.roll(1, 11), dice_.roll(1, 28)), QTime(0, 0));
        for (int i = 0; i < count; ++i) {
            const int index = (first + i) % subgroupCount;
            const QString subgroup = subgroupCodes_[index];
            const QString espeProd = u"E%1"_s.arg(++espeSerial_, 9, 10, QChar(u'0'));
            const bool dated = dice_.roll(0, 2) > 0;
            QVariantList values = key;
            values << subgroup << espeProd << u"P%1"_s.arg(espeSerial_, 9, 10, QChar(u'0'))
                   << u"%1"_s.arg(i + 1, 3, 10, QChar(u'0')) << QString::number(dice_.roll(50, 1000) / 10.0)
                   << QString::fromUtf16(subgroups[index].print)
                   << (i % 4 == 0 ? QVariant(u"Conferir a temperatura antes da montagem."_s) : nullText())
                   << dbDateTime(dated ? effective.addDays(-7) : QDateTime()) << dbDateTime(dated ? effective : QDateTime())
                   << dbDateTime(dated ? effective.addDays(dice_.roll(0, 60)) : QDateTime())
                   << (i > 0 && i % 5 == 0 ? QVariant(subgroupCodes_[first % subgroupCount]) : nullText());
            exec(u"INSERT INTO SUBGRUSEMA (CDFILIAL, CDCIA, CDMANCIA, CDSERVICO, CDCLASSE, CDCICLO, CDSUBGRU, "
                 "CDESPEPRODSG, CDESPEPROD, NRORDSUMA, VRPELOADSUMA, DSSUBGRUPO, TXCOMSUMA, DTAPRESUMA, DTEFETSUMA, "
                 "DTREVISUMA, CDPRODUTOPRI) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                 values);
            ++rows_;
            details(subgroup, espeProd, index);
        }
    }

    void details(const QString& subgroup, const QString& espeProd, int index)
    {
        if (dice_.roll(0, 2) > 0) {
            exec(u"INSERT INTO FOTOSEMA (CDPRODUTO, CDESPEPROD, FGESPEPROD) VALUES (?, ?, ?)"_s,
                 {subgroup, espeProd, photosBySubgroup_[index]});
            ++photos_;
        }
        if (dice_.roll(0, 2) == 0) {
            const QString name = QString::fromUtf16(subgroups[index].name);
            const QStringList steps = {u"Higienizar as mãos e a bancada antes de começar."_s,
                                       u"Separar os utensílios e a louça indicados na lista de equipamentos."_s,
                                       u"Porcionar %1 conforme a ficha técnica."_s.arg(name.toLower()),
                                       u"Dispor os itens no prato seguindo a foto de montagem."_s,
                                       u"Cobrir com filme plástico, etiquetar e manter a 4 °C até o embarque."_s};
            exec(u"INSERT INTO FOTOSUBMA (CDPRODUTO, CDESPEPROD, FGFOTOSUMA, CDTIPODOCU) VALUES (?, ?, ?, 'INS')"_s,
                 {subgroup, espeProd, demoInstructions(u"Montagem: "_s + name, steps)});
            ++instructions_;
        }
        const int tools = dice_.roll(0, 3);
        for (int t = 0; t < tools; ++t)
            exec(u"INSERT INTO EQUISUBSEMA (CDESPEPROD, CDPRODEQUIP, QTEQUISUMA) VALUES (?, ?, ?)"_s,
                 {espeProd, equipmentCodes_[(index + t * 4) % equipmentCodes_.size()], double(dice_.roll(1, 6))});
        const int items = dice_.roll(1, 4);
        for (int p = 0; p < items; ++p)
            exec(u"INSERT INTO PRODRECSEMA (CDESPEPROD, CDPRODINSUMO, NRORDEM, QUANTIDADE, TXCOMENT, CDTIPOCOMP) "
                 "VALUES (?, ?, ?, ?, ?, ?)"_s,
                 {espeProd, productCodes_[(index * 3 + p * 7) % productCodes_.size()],
                  u"%1"_s.arg(p + 1, 3, 10, QChar(u'0')), dice_.roll(5, 500) / 100.0,
                  p == 0 ? QVariant(u"Item principal"_s) : nullText(), u"QTE"_s});
    }

    QSqlDatabase db_;
    Dice dice_;
    QList<std::pair<QString, QString>> links_;
    QStringList equipmentCodes_, productCodes_, subgroupCodes_, serviceCodes_, serviceNames_;
    QList<QByteArray> photosBySubgroup_;
    int espeSerial_ = 0;
    int manuals_ = 0, services_ = 0, rows_ = 0, photos_ = 0, instructions_ = 0;
};

}  // namespace

QString createDemoDatabase(const DbConfig& config)
{
    const QString name = u"qmv-appserver-demo"_s;
    QString summary;
    try {
        {
            QSqlDatabase db = openDatabase(config, name);
            migrate(db);
            if (runSql(db, u"SELECT 1 FROM FILIAL"_s).next()) {
                summary = u"Demo: o banco já tem dados; nada foi criado."_s;
            } else {
                TransactionGuard transaction(db);
                summary = DemoWriter(db).write();
                transaction.commit();
            }
        }
        closeDatabase(name);
    } catch (...) {
        closeDatabase(name);
        throw;
    }
    return summary;
}

}  // namespace qmv::appserver
