#include "Cli_qmv00507/tfrmhistsubgrupo.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "host/checkresultserv.h"
#include "host/guard.h"
#include "host/tbuttonflat.h"
#include "host/menserro.h"
#include "host/tmessages.h"
#include "host/ui.h"
#include "host/waitcursor.h"
#include "platform/dataset.h"
#include "platform/field.h"
#include "platform/plaintext.h"
#include "screenlink/mainscreen.h"
#include "server/historycalls.h"
#include "server/loadresult.h"

namespace qmv {

namespace {

constexpr int thumbnail = 48;
constexpr int subGroupColumn = 2;
constexpr int whatColumn = 3;

QString firstLines(const QByteArray& rtf)
{
    try {
        return plainTextOfRtf(rtf).split(u'\n', Qt::SkipEmptyParts).mid(0, 2).join(QStringLiteral(" / "));
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

TfrmHistSubGrupo* TfrmHistSubGrupo::create(QWidget* parent)
{
    std::unique_ptr<TfrmHistSubGrupo> form(new TfrmHistSubGrupo(parent));
    form->FormCreate();
    form->carregaHistorico();
    return form.release();
}

TfrmHistSubGrupo::TfrmHistSubGrupo(QWidget* parent) : TfrmRotiGeral(parent)
{
    setObjectName(QStringLiteral("frmHistSubGrupo"));
    setWindowTitle(QStringLiteral("Histórico do Sub-grupo"));
    resize(760, 420);
    buildMessages();
    sbtConfirma->setVisible(false);
    auto* column = new QVBoxLayout(grbDadosRel);
    lvwHistorico = new QTreeWidget(grbDadosRel);
    lvwHistorico->setObjectName(QStringLiteral("lvwHistorico"));
    lvwHistorico->setHeaderLabels(
        {QStringLiteral("Quando"), QStringLiteral("Quem"), QStringLiteral("Sub-grupo"), QStringLiteral("O quê")});
    lvwHistorico->setRootIsDecorated(false);
    lvwHistorico->setIconSize(QSize(thumbnail, thumbnail));
    lvwHistorico->setWordWrap(true);
    lvwHistorico->header()->resizeSection(0, 140);
    lvwHistorico->header()->resizeSection(1, 130);
    lvwHistorico->header()->resizeSection(subGroupColumn, 160);
    column->addWidget(lvwHistorico, 1);
    auto* buttons = new QHBoxLayout;
    chkServico = new QCheckBox(QStringLiteral("Todo o &serviço"), grbDadosRel);
    chkServico->setObjectName(QStringLiteral("chkServico"));
    buttons->addWidget(chkServico);
    btnRestaurar = new QPushButton(QStringLiteral("&Restaurar"), grbDadosRel);
    btnRestaurar->setObjectName(QStringLiteral("btnRestaurar"));
    btnVer = new QPushButton(QStringLiteral("&Ver"), grbDadosRel);
    btnVer->setObjectName(QStringLiteral("btnVer"));
    buttons->addStretch(1);
    buttons->addWidget(btnVer);
    buttons->addWidget(btnRestaurar);
    column->addLayout(buttons);
    connect(btnRestaurar, &QPushButton::clicked, this, [this] { guard([this] { btnRestaurarClick(); }); });
    connect(btnVer, &QPushButton::clicked, this, [this] { guard([this] { btnVerClick(); }); });
    connect(chkServico, &QCheckBox::toggled, this, [this] {
        guard([this] {
            WaitCursor wait;
            carregaHistorico();
        });
    });
    connect(lvwHistorico, &QTreeWidget::currentItemChanged, this, [this] {
        const HistoryLine* line = selected();
        btnRestaurar->setEnabled(line);
        btnVer->setEnabled(line && !line->contentBefore.isEmpty());
    });
}

void TfrmHistSubGrupo::buildMessages()
{
    msgPadrao->setMessages({
        QStringLiteral("Hist_SemSubGru|Selecione um sub-grupo para ver o seu histórico."),
        QStringLiteral("Hist_Selecione|Selecione uma alteração do histórico."),
        QStringLiteral("Hist_Restaura|Restaurar %s como estava antes desta alteração?"),
        QStringLiteral("Hist_SemConteudo|Esta alteração não substituiu foto nem instruções."),
    });
}

void TfrmHistSubGrupo::carregaHistorico()
{
    MainScreen* main = currentMainScreen();
    if (!main || main->subGroup().isEmpty())
        MensErro(msgPadrao->Msg(QStringLiteral("Hist_SemSubGru")), true);
    const bool service = chkServico->isChecked();
    setWindowTitle(service ? QStringLiteral("Histórico do Serviço") : QStringLiteral("Histórico do Sub-grupo"));
    lvwHistorico->setColumnHidden(subGroupColumn, !service);
    names_ = subGroupNames(*main);
    lines_ = historyLines(entries(*main),
                          [main](const QString& table, const QString& column) { return main->fieldCaption(table, column); });
    lvwHistorico->clear();
    for (int row = 0; row < lines_.size(); ++row)
        describe(row);
    if (lvwHistorico->topLevelItemCount() > 0)
        lvwHistorico->setCurrentItem(lvwHistorico->topLevelItem(0));
    btnRestaurar->setEnabled(selected());
    btnVer->setEnabled(selected() && !selected()->contentBefore.isEmpty());
}

DataPacket TfrmHistSubGrupo::entries(MainScreen& main)
{
    const LoadedKey key = main.loadedKey();
    branch_ = key.branch;
    subGroupCode_ = main.subGroup().fieldByName(QStringLiteral("CDESPEPRODSG")).asString();
    if (chkServico->isChecked())
        return checkedPacket(GetHistServico(main.connection(), key.branch, key.company, key.manual, key.service));
    return checkedPacket(GetHistSubGru(main.connection(), branch_, subGroupCode_));
}

// Read from the sheet's rows without moving its current record; a sub-group the filter hides (or
// one deleted since) is shown by its code.
QHash<QString, QString> TfrmHistSubGrupo::subGroupNames(MainScreen& main)
{
    DataSet& sheet = main.subGroup();
    const Field& code = sheet.fieldByName(QStringLiteral("CDESPEPRODSG"));
    const Field& name = sheet.fieldByName(QStringLiteral("DSSUBGRU"));
    QHash<QString, QString> names;
    for (int row = 0; row < sheet.rowCount(); ++row)
        names.insert(code.valueAt(row).toString(), name.displayTextAt(row));
    return names;
}

void TfrmHistSubGrupo::describe(int row)
{
    const HistoryLine& line = lines_[row];
    auto* item = new QTreeWidgetItem(lvwHistorico, {line.when, line.who, names_.value(line.subgroup, line.subgroup), line.what});
    item->setToolTip(whatColumn, line.what);
    // A whole service may have replaced hundreds of photos: their old contents come with "Ver" only.
    if (line.contentBefore.isEmpty() || chkServico->isChecked())
        return;
    const QByteArray old = content(line.contentBefore);
    if (line.table == u"FOTOSEMA") {
        QPixmap picture;
        if (picture.loadFromData(old))
            item->setIcon(whatColumn, picture.scaled(thumbnail, thumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        item->setText(whatColumn, line.what + QStringLiteral(" (antes: ") + firstLines(old) + u')');
    }
}

QByteArray TfrmHistSubGrupo::content(const QString& digest)
{
    const auto known = contents_.constFind(digest);
    if (known != contents_.constEnd())
        return known.value();
    MainScreen* main = currentMainScreen();
    const DataPacket packet = checkedPacket(GetHistConteudo(main->connection(), digest));
    const QByteArray bytes = packet.rows.isEmpty() ? QByteArray() : packet.rows[0].value(1).toByteArray();
    contents_.insert(digest, bytes);
    return bytes;
}

const HistoryLine* TfrmHistSubGrupo::selected() const
{
    const int row = lvwHistorico->indexOfTopLevelItem(lvwHistorico->currentItem());
    return row >= 0 && row < lines_.size() ? &lines_[row] : nullptr;
}

void TfrmHistSubGrupo::btnRestaurarClick()
{
    const HistoryLine* line = selected();
    if (!line)
        MensErro(msgPadrao->Msg(QStringLiteral("Hist_Selecione")), true);
    const QString question = msgPadrao->Msg(QStringLiteral("Hist_Restaura")).replace(QStringLiteral("%s"), line->what);
    if (!ui().askYesNo(question))
        return;
    MainScreen* main = currentMainScreen();
    CheckResultServ(RestauraHist(main->connection(), branch_, line->id, line->newestOfRow), true, 0);
    main->refreshSubGroup();
    carregaHistorico();
}

void TfrmHistSubGrupo::btnVerClick()
{
    const HistoryLine* line = selected();
    if (!line || line->contentBefore.isEmpty())
        MensErro(msgPadrao->Msg(QStringLiteral("Hist_SemConteudo")), true);
    const QByteArray old = content(line->contentBefore);
    QDialog view(this);
    view.setObjectName(QStringLiteral("frmVerHistorico"));
    view.setWindowTitle(QStringLiteral("Antes da alteração"));
    auto* layout = new QVBoxLayout(&view);
    QPixmap picture;
    if (line->table == u"FOTOSEMA" && picture.loadFromData(old)) {
        auto* scroll = new QScrollArea(&view);
        auto* label = new QLabel;
        label->setPixmap(picture);
        scroll->setWidget(label);
        layout->addWidget(scroll);
        view.resize(qMin(picture.width() + 40, 900), qMin(picture.height() + 40, 700));
    } else {
        auto* text = new QPlainTextEdit(&view);
        text->setReadOnly(true);
        text->setPlainText(plainTextOfRtf(old));
        layout->addWidget(text);
        view.resize(600, 400);
    }
    ui().showModal(view);
}

}  // namespace qmv
