// The manual emission end to end: the main screen loads a service on the real application server,
// "Emissão do Manual" opens the emission screen from its selection, and the PDF it writes is read
// back with poppler (pdftotext, pdfimages). Cancelling and a server failure leave no file.
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Cli_qmv00500/selectionscreen.h"
#include "host/abort.h"
#include "qmv01200/callerselection.h"
#include "qmv01200/cli_qmv01200.h"
#include "qmv01200/emissionsource.h"
#include "qmv01200/manualemission.h"
#include "qmv01200/tfrmemissaomanual.h"
#include "server/tnetconnection.h"

namespace qmv {
namespace {

using test::SelectionScreen;

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        ADD_FAILURE() << program.toStdString() << " failed: " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(180, 90, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

const QByteArray instructionRtf =
    "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 "
    "{\\b Montagem}\\par Coloque o arroz \\'e0 esquerda e a guarni\\'e7\\'e3o \\'e0 direita.\\par}";

// The main screen with service 1.01.001 class ECON of manual 0001 loaded; S1 has a real photo and
// instructions with accents, S2 a recipe line and a second piece of equipment.
class Emission : public ::testing::Test {
protected:
    void SetUp() override
    {
        s.database().exec(QStringLiteral("UPDATE FOTOSEMA SET FGESPEPROD = ? WHERE CDESPEPROD = 'E1'"), {jpeg(320, 240)});
        s.database().exec(QStringLiteral("UPDATE FOTOSUBMA SET FGFOTOSUMA = ? WHERE CDESPEPROD = 'E1'"),
                          {instructionRtf});
        s.database().exec(QStringLiteral("INSERT INTO EQUISUBSEMA VALUES ('E2', 'EQ2', 12)"));
        s.typeKey("cia1", "1", "1.01.001");
        s.leavePanel();
        ASSERT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
        const auto reference = static_cast<qlonglong>(reinterpret_cast<quintptr>(&s.form()));
        Cli_qmv01200::initialization();
        Cli_qmv01200::CriaEmissaoManual({QStringLiteral("QMV00500"), reference});
        ASSERT_TRUE(Cli_qmv01200::frmEmissaoManual);
    }
    void TearDown() override
    {
        delete Cli_qmv01200::frmEmissaoManual.data();
    }

    TfrmEmissaoManual& f() { return *Cli_qmv01200::frmEmissaoManual; }

    // Emitir to `name` in the temporary folder, waiting for the emission to end.
    QString emitTo(const QString& name)
    {
        const QString path = dir.filePath(name);
        s.ui().answerSaveFile(path);
        QSignalSpy ended(&f(), &TfrmEmissaoManual::emissionEnded);
        f().btnEmitir->click();
        EXPECT_TRUE(ended.count() > 0 || ended.wait(20000));
        return path;
    }

    SelectionScreen s{SelectionScreen::Server::Real};
    QTemporaryDir dir;
};

TEST_F(Emission, StartsFromTheCallersSelection)
{
    EXPECT_EQ(f().medFilial->text(), "0001");
    EXPECT_EQ(f().medCdCia->text(), "CIA1");
    EXPECT_EQ(f().edtNmCia->text(), "Companhia Um");
    EXPECT_EQ(f().edtDsManCia->text(), "Manual A");
    EXPECT_EQ(f().edtDsServico->text(), "Almoço");
    const ManualSelection key = f().selection();
    EXPECT_EQ(key.company + key.manual + key.serviceKey(), "00010001000000100100010001");
}

TEST_F(Emission, WritesTheWholeManualWithContentsPhotoInstructionsAndEquipment)
{
    const QString pdf = emitTo("manual.pdf");
    ASSERT_TRUE(QFileInfo::exists(pdf)) << s.ui().errors.join('|').toStdString();
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
    const QStringList pages = run("pdftotext", {"-layout", pdf, "-"}).split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 4);
    EXPECT_TRUE(pages[0].contains("CIA1 - Companhia Um") && pages[0].contains("Manual A")
                && pages[0].contains("0001 - Cozinha Teste") && pages[0].contains("Emitido em"))
        << pages[0].toStdString();
    EXPECT_TRUE(pages[1].contains("Sumário"));
    const QString body = pages.mid(2).join(QLatin1Char('\n')).simplified();
    // The class ECON service in classification order, then class EXEC, then the service without sub-groups.
    const QStringList inOrder = {"Serviço 1.01.001 - Almoço - ECON", "3.01.001 Prato Quente", "3.01.002 Salada",
                                 "3.01.003 Sobremesa", "Serviço 1.01.001 - Almoço - EXEC", "3.01.001 Prato Quente",
                                 "Serviço 1.01.002 - Jantar"};
    qsizetype at = 0;
    for (const QString& heading : inOrder) {
        const qsizetype found = body.indexOf(heading, at);
        EXPECT_GE(found, at) << heading.toStdString();
        at = std::max(at, found);
    }
    EXPECT_TRUE(body.contains("Coloque o arroz à esquerda e a guarnição à direita.")) << body.toStdString();
    EXPECT_TRUE(body.contains(QRegularExpression("Bandeja\\s+Louça\\s+2\\s+UN")));
    EXPECT_TRUE(body.contains(QRegularExpression("Prato Raso\\s+Louça\\s+12\\s+UN")));
    EXPECT_TRUE(body.contains(QRegularExpression("001\\s+Produto\\s+2.01.001\\s+Arroz\\s+0,5\\s+KG\\s+Comentário")));
    EXPECT_TRUE(body.contains("Loading 13%"));
    EXPECT_TRUE(pages.last().trimmed().isEmpty() || pages.last().contains("Página"));
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Página 3 de %1").arg(pages.size() - 1)));

    // The contents give each heading's page.
    const QStringList contents = pages[1].split(QLatin1Char('\n'));
    const QRegularExpression entry("^\\s*(3\\.01\\.00\\d\\s+\\S.*?)\\s{2,}(\\d+)\\s*$");
    int checked = 0;
    for (const QString& line : contents) {
        const auto m = entry.match(line);
        if (!m.hasMatch())
            continue;
        const int page = m.captured(2).toInt();
        ASSERT_LT(page, pages.size() + 1);
        EXPECT_TRUE(pages[page - 1].simplified().contains(m.captured(1).simplified())) << line.toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 4);

    const QStringList images = run("pdfimages", {"-list", pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(images.size(), 3);  // two header lines, then the one photo at its full 320 x 240
    EXPECT_TRUE(images[2].contains(QRegularExpression("image\\s+320\\s+240"))) << images[2].toStdString();
}

TEST_F(Emission, LeavesOutWhatIsNotIncludedAndWritesOneService)
{
    f().rbtServico->setChecked(true);
    f().chbFotos->setChecked(false);
    f().chbEquipamentos->setChecked(false);
    f().chbInstrucoes->setChecked(false);
    const QString pdf = emitTo("servico");  // the suffix is added
    ASSERT_TRUE(QFileInfo::exists(pdf + ".pdf"));
    const QString text = run("pdftotext", {pdf + ".pdf", "-"}).simplified();
    EXPECT_TRUE(text.contains("Serviço 1.01.001 - Almoço - ECON"));
    EXPECT_FALSE(text.contains("EXEC"));
    EXPECT_FALSE(text.contains("Bandeja"));
    EXPECT_FALSE(text.contains("Coloque o arroz"));
    EXPECT_TRUE(text.contains("Arroz"));
    EXPECT_EQ(run("pdfimages", {"-list", pdf + ".pdf"}).split('\n', Qt::SkipEmptyParts).size(), 2);
}

TEST_F(Emission, PreviewShowsEveryPageOfTheManual)
{
    int pages = 0;
    s.ui().actInModal([&pages](QWidget& dialog) {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        preview->updatePreview();
        pages = preview->pageCount();
    });
    QSignalSpy ended(&f(), &TfrmEmissaoManual::emissionEnded);
    f().btnVisualizar->click();
    ASSERT_TRUE(ended.count() > 0 || ended.wait(20000));
    EXPECT_EQ(s.ui().modalForms, QStringList{"ppdVisualizar"});
    EXPECT_GE(pages, 5);  // cover, contents, and a page for each of the three services
    EXPECT_TRUE(s.ui().errors.isEmpty());
}

TEST_F(Emission, CancelStopsAndLeavesNoFile)
{
    const QString path = dir.filePath("cancelado.pdf");
    s.ui().answerSaveFile(path);
    QSignalSpy progressed(&f(), &TfrmEmissaoManual::progressed);
    QObject::connect(&f(), &TfrmEmissaoManual::progressed, &f(), [this](const QString& text) {
        if (text.startsWith("Escrevendo") && f().running())
            f().btnCancelar->click();
    });
    QSignalSpy ended(&f(), &TfrmEmissaoManual::emissionEnded);
    f().btnEmitir->click();
    ASSERT_TRUE(ended.count() > 0 || ended.wait(20000));
    EXPECT_FALSE(f().running());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_TRUE(f().lblProgresso->text().contains("cancelada"));
    bool namedService = false;
    for (const QList<QVariant>& args : progressed)
        namedService |= args.at(0).toString().contains("Lendo o serviço 1.01.001 - Almoço - EXEC");
    EXPECT_TRUE(namedService);
}

TEST_F(Emission, AServerFailureMidWayShowsTheErrorAndLeavesNoFile)
{
    // The second service fails on the server: another user takes it out of the manual meanwhile.
    QObject::connect(&f(), &TfrmEmissaoManual::progressed, &f(), [this](const QString& text) {
        if (text.startsWith("Lendo o serviço 1.01.001 - Almoço - ECON"))
            s.database().exec("DELETE FROM SERVMANUAL WHERE CDFILIAL = '0001' AND CDCLASSE = '0002'");
    });
    s.database().exec("DELETE FROM SUBGRUSEMA WHERE CDCLASSE = '0002'");
    const QString pdf = emitTo("falha.pdf");
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    ASSERT_EQ(s.ui().errors.size(), 1);
    EXPECT_TRUE(s.ui().errors[0].contains("não está cadastrado no manual")) << s.ui().errors[0].toStdString();
    EXPECT_FALSE(f().running());
}

TEST(EmissionCaller, AFormThatNoLongerExistsIsRefused)
{
    ScriptedUi ui;
    auto* gone = new QWidget;
    const auto reference = static_cast<qlonglong>(reinterpret_cast<quintptr>(gone));
    delete gone;
    Cli_qmv01200::initialization();
    EXPECT_THROW(Cli_qmv01200::CriaEmissaoManual({QStringLiteral("QMV00500"), reference}), Abort);
    EXPECT_EQ(ui.errors.size(), 1);
    EXPECT_FALSE(Cli_qmv01200::boStCriado);
}

}  // namespace
}  // namespace qmv
