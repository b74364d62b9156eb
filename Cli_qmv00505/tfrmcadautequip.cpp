#include "Cli_qmv00505/tfrmcadautequip.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "Cli_qmv00505/checklist.h"
#include "Cli_qmv00505/cli_qmv00505.h"
#include "Cli_qmv00505/equipmentinclusion.h"
#include "host/codestructure.h"
#include "host/guard.h"
#include "host/menserro.h"
#include "host/pesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tickbox.h"
#include "host/tmessages.h"
#include "host/ui.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "screenlink/mainscreen.h"
#include "server/catalogue.h"
#include "server/loadresult.h"

namespace qmv {

namespace {

const QString kCheck = QStringLiteral("IDCHECK");

MainScreen& mainScreen()
{
    MainScreen* main = currentMainScreen();
    if (!main)
        throw std::logic_error("the equipment inclusion needs the main screen");
    return *main;
}

QString fieldText(const DataSet& ds, const char* name)
{
    return ds.fieldByName(QLatin1String(name)).asString();
}

// The dialog's window is not repainted while it lives (the inclusion loop moves through the list).
class SuspendedRepaint {
public:
    explicit SuspendedRepaint(QWidget& window) : window_(window) { window_.setUpdatesEnabled(false); }
    ~SuspendedRepaint() { window_.setUpdatesEnabled(true); }
    SuspendedRepaint(const SuspendedRepaint&) = delete;
    SuspendedRepaint& operator=(const SuspendedRepaint&) = delete;

private:
    QWidget& window_;
};

}  // namespace

TfrmCadAutEquip* TfrmCadAutEquip::create(QWidget* parent)
{
    std::unique_ptr<TfrmCadAutEquip> form(new TfrmCadAutEquip(parent));
    form->FormCreate();
    return form.release();
}

TfrmCadAutEquip::TfrmCadAutEquip(QWidget* parent) : TfrmRotiGeral(parent)
{
    setObjectName(QStringLiteral("frmCadAutEquip"));
    setWindowTitle(QStringLiteral("Inclusão de Equipamentos"));
    setScreenCode(QStringLiteral("QMV00505"));
    setHelp(QStringLiteral("Qmvhelp.hlp"), 10000505);
    // A fixed single border with the system menu and the minimise and maximise icons.
    setFixedSize(474, 174);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    msgPadrao->setMessages({QStringLiteral("Cd_Inv|Equipamento já cadastrado.")});
    buildDataSets();
    buildGrid();
    buildPictures();
}

void TfrmCadAutEquip::buildDataSets()
{
    cdsEquipamentos = new DataSet(this);
    cdsEquipamentos->setObjectName(QStringLiteral("cdsEquipamentos"));
    cdsEquipamentos->addField({kCheck, FieldKind::FixedText, 1, {}, false});
    cdsEquipamentos->addField({QStringLiteral("CDARVPROD"), FieldKind::Text, 20, QStringLiteral("Código")});
    cdsEquipamentos->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10, QStringLiteral("Código"), false});
    cdsEquipamentos->addField({QStringLiteral("NMPRODUTO"), FieldKind::Text, 50, QStringLiteral("Nome")});
    cdsEquipamentos->addField(
        {QStringLiteral("NMCLASSIFICACAO"), FieldKind::Text, 50, QStringLiteral("Classificação")});
    cdsEquipamentos->addField({QStringLiteral("SGUNIDADE"), FieldKind::Text, 10, QStringLiteral("UN")});
    cdsEquipamentos->addField({QStringLiteral("CDFILIAL"), FieldKind::Text, 4, {}, false});
    cdsEquipamentos->addField({QStringLiteral("CDCIA"), FieldKind::Text, 4, {}, false});
    cdsEquipamentos->setFilter(QStringLiteral("(IDCHECK = 'S')"));
    dtsEquipamentos = new DataSource(this);
    dtsEquipamentos->setObjectName(QStringLiteral("dtsEquipamentos"));
    dtsEquipamentos->setDataSet(cdsEquipamentos);

    cdsEquipAux = new DataSet(this);
    cdsEquipAux->setObjectName(QStringLiteral("cdsEquipAux"));
    cdsEquipAux->addField({QStringLiteral("CDPRODUTO"), FieldKind::Text, 10});
}

void TfrmCadAutEquip::buildGrid()
{
    Panel1 = new QWidget(grbDadosRel);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* box = new QVBoxLayout(grbDadosRel);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(Panel1);
    dbgEquipamento = new DBGrid(Panel1, QStringLiteral("dbgEquipamento"));
    QPalette palette = dbgEquipamento->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));  // clInfoBk
    dbgEquipamento->setPalette(palette);
    dbgEquipamento->setReadOnly(true);
    dbgEquipamento->setRowSelect(true);
    dbgEquipamento->setTabKeyNavigation(false);
    dbgEquipamento->setDataSource(dtsEquipamentos);
    // The check column's title is the check mark of the symbol fonts.
    dbgEquipamento->setColumns({
        {kCheck, 17, true, QStringLiteral("\u2714")},
        {QStringLiteral("NMPRODUTO"), 250, true},
        {QStringLiteral("NMCLASSIFICACAO"), 250, true},
        {QStringLiteral("CDARVPROD"), -1, true},
        {QStringLiteral("SGUNIDADE"), -1, true},
    });
    auto* panel = new QVBoxLayout(Panel1);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(dbgEquipamento);

    dbgEquipamento->onDrawColumnCell = [this](DBGrid& g, QPainter& p, const QRect& r, int, Field* f,
                                              QStyle::State s) { dbgEquipamentoDrawColumnCell(g, p, r, f, s); };
    dbgEquipamento->onCellClick = [this](DBGrid&, int column) { dbgEquipamentoCellClick(column); };
    dbgEquipamento->onDblClick = [this](DBGrid&) { dbgEquipamentoDblClick(); };
    dbgEquipamento->onKeyDown = [this](DBGrid&, int& key, Qt::KeyboardModifiers shift) {
        dbgEquipamentoKeyDown(key, shift);
    };
    dbgEquipamento->onTitleClick = [this](DBGrid&, int column) { dbgEquipamentoTitleClick(column); };
}

// The search button sits in the command column above the help; the tick pictures are those the
// main screen draws for its own check lists.
void TfrmCadAutEquip::buildPictures()
{
    sbtProcurar = new TButtonFlat(panMenu, QStringLiteral("sbtProcurar"), QStringLiteral("Procurar"));
    sbtProcurar->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    sbtProcurar->setFixedSize(25, 25);
    auto* column = static_cast<QVBoxLayout*>(panMenu->layout());
    column->insertWidget(column->indexOf(panAjuda), sbtProcurar, 0, Qt::AlignHCenter);
    connect(sbtProcurar, &QAbstractButton::clicked, this, guarded([this] { sbtProcurarClick(); }));

    imgCheck = new QLabel(this);
    imgCheck->setObjectName(QStringLiteral("imgCheck"));
    imgUncheck = new QLabel(this);
    imgUncheck->setObjectName(QStringLiteral("imgUncheck"));
    imgCheck->setPixmap(tickBox(true, true, tickBoxOlive));
    imgUncheck->setPixmap(tickBox(false, true, tickBoxOlive));
    for (QLabel* picture : {imgCheck, imgUncheck}) {
        picture->setFixedSize(16, 16);
        picture->hide();
    }
}

void TfrmCadAutEquip::FormCreate()
{
    TfrmRotiGeral::FormCreate();
    Cli_qmv00505::boTeclou = false;
    cdsEquipamentos->fieldByName(QStringLiteral("CDARVPROD")).setEditMask(DBPict(0));
    const DataSet& sub = mainScreen().subGroup();
    loadResult(*cdsEquipamentos,
               GetEquipamentos(mainScreen().connection(), fieldText(sub, "CDFILIAL"), fieldText(sub, "CDCIA"),
                               QString(), QString::number(DBPictObj(0).GetTtNiveis())));
}

void TfrmCadAutEquip::FormClose(TCloseAction& action)
{
    TfrmRotiGeral::FormClose(action);
    Cli_qmv00505::boStCriado = false;
}

void TfrmCadAutEquip::FormKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    TfrmRotiGeral::FormKeyDown(key, shift);
    if (key == Qt::Key_F7)
        sbtProcurarClick();
}

// The tick picture over the default text, its olive background showing the cell's brush.
void TfrmCadAutEquip::dbgEquipamentoDrawColumnCell(DBGrid& sender, QPainter& canvas, const QRect& rect,
                                                   Field* field, QStyle::State state)
{
    if (!field || field->name() != kCheck)
        return;
    const QString value = field->valueAt(sender.indexAt(rect.center()).row()).toString();
    QPixmap bitmap;
    if (value == QLatin1String("N"))
        bitmap = imgUncheck->pixmap();
    else if (value == QLatin1String("S"))
        bitmap = imgCheck->pixmap();
    const QPalette& palette = sender.palette();
    canvas.fillRect(rect, (state & QStyle::State_Selected) ? palette.highlight() : palette.base());
    if (bitmap.isNull())
        return;
    bitmap.setMask(bitmap.createMaskFromColor(QColor(128, 128, 0)));
    const int height = std::min(rect.height(), bitmap.height());
    canvas.drawPixmap(QRect(rect.left() + 1, rect.top(), bitmap.width(), height), bitmap,
                      QRect(0, 0, bitmap.width(), height));
}

bool TfrmCadAutEquip::isCheckColumn(int column) const
{
    return dbgEquipamento->columnField(column) == kCheck;
}

// A single mouse click never toggles: only the space key, which sets boTeclou first.
void TfrmCadAutEquip::dbgEquipamentoCellClick(int column)
{
    if (!Cli_qmv00505::boTeclou || !isCheckColumn(column))
        return;
    toggleCheck(*cdsEquipamentos);
    Cli_qmv00505::boTeclou = false;
}

void TfrmCadAutEquip::dbgEquipamentoDblClick()
{
    toggleCheck(*cdsEquipamentos);
}

void TfrmCadAutEquip::dbgEquipamentoKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    if (key != Qt::Key_Space)
        return;
    if (shift & Qt::ControlModifier) {
        dbgEquipamentoTitleClick(0);
    } else {
        Cli_qmv00505::boTeclou = true;
        dbgEquipamentoCellClick(0);
    }
    key = 0;
}

void TfrmCadAutEquip::dbgEquipamentoTitleClick(int column)
{
    ui().setCursor(CursorShape::Wait);
    struct DefaultCursor {
        ~DefaultCursor() { ui().setCursor(CursorShape::Default); }
    } restore;
    if (isCheckColumn(column)) {
        markAll(*cdsEquipamentos);
    } else {
        cdsEquipamentos->disableControls();
        struct Resume {
            DataSet& ds;
            ~Resume() { ds.enableControls(); }
        } resume{*cdsEquipamentos};
        cdsEquipamentos->first();
    }
}

void TfrmCadAutEquip::sbtProcurarClick()
{
    Procura(*cdsEquipamentos);
}

// Only a ticked row can be refused: an unticked one is not going to be linked.
void TfrmCadAutEquip::checkAlreadyLinked()
{
    const QString code = fieldText(*cdsEquipamentos, "CDARVPROD");
    if (fieldText(*cdsEquipamentos, "IDCHECK") == QLatin1String("S")
        && fieldText(mainScreen().equipment(), "CDARVPROD") == code)
        MensErro(msgPadrao->Msg(QStringLiteral("Cd_Inv")), true);
}

// When a link fails part way, the main screen still reloads, so it shows what was linked before.
void TfrmCadAutEquip::sbtConfirmaClick()
{
    MainScreen& main = mainScreen();
    if (!cdsEquipamentos->isEmpty()) {
        checkAlreadyLinked();
        try {
            SuspendedRepaint suspended(*this);
            insertTickedEquipment(main.connection(), *cdsEquipamentos, *cdsEquipAux, main.subGroup());
        } catch (...) {
            guard([&] { main.refreshSubGroup(); });
            throw;
        }
    }
    main.refreshSubGroup();
    close();
}

void TfrmCadAutEquip::sbtCancelClick()
{
    DataSet& equipment = mainScreen().equipment();
    if (equipment.state() == DataSetState::Edit || equipment.state() == DataSetState::Insert)
        equipment.cancel();
    TfrmRotiGeral::sbtCancelClick();
}

}  // namespace qmv
