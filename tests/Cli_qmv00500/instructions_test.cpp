// The sheet "Instruções de Montagem" over the real server, every call recorded: what posting a blank,
// a new and an edited text sends; import from a file and from another sub-group; export; failures.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextTable>
#include <gtest/gtest.h>

#include "Cli_qmv00500/instructionrules.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/screenpages.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbrichedit.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

const char kTableFile[] = R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 Montagem:\par
\trowd\cellx2000\cellx4000\pard\intbl\b Item\b0\cell\pard\intbl Gramas\cell\row
\trowd\cellx2000\cellx4000\pard\intbl Feij\'e3o\cell\pard\intbl 150\cell\row
\pard Fim\par})";

class Instructions : public ::testing::Test {
protected:
    Instructions()
    {
        s.choosePage(f().pages().sheet(MainPage::FotoServ));
        s.takeCalls();
    }

    TfrmFotoMontManual& f() { return s.form(); }
    DataSet& record() { return *named<DataSet>(f(), "cdsFotoSubMa"); }
    DBRichEdit& editor() { return *named<DBRichEdit>(f(), "dbrMontServico"); }
    QString shown() { return editor().plainContent(); }
    QByteArray storedText(const char* subGroup)
    {
        QSqlQuery q(s.database().db());
        q.prepare("SELECT FGFOTOSUMA FROM FOTOSUBMA WHERE CDPRODUTO = ? AND CDESPEPROD IN ('E1', 'E2', 'E3')");
        q.addBindValue(QString::fromLatin1(subGroup));
        return q.exec() && q.next() ? q.value(0).toByteArray() : QByteArray("<none>");
    }
    QString file(const QString& name, const QByteArray& content = {})
    {
        const QString path = dir.filePath(name);
        QFile out(path);
        if (!content.isNull() && out.open(QIODevice::WriteOnly))
            out.write(content);
        return path;
    }
    void importFile(const QString& path)
    {
        s.ui().answerOpenFile(path);
        named<TButtonFlat>(f(), "sbtImp")->Click();
        EXPECT_TRUE(named<QMenu>(f(), "pmnImporta")->isVisible());
        named<QAction>(f(), "mnuImpArquivo")->trigger();
        named<QMenu>(f(), "pmnImporta")->hide();
    }
    static QStringList firstTable(const QTextDocument& doc)
    {
        for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
            if (auto* t = qobject_cast<QTextTable*>(it.currentFrame())) {
                QStringList cells;
                for (int r = 0; r < t->rows(); ++r)
                    for (int c = 0; c < t->columns(); ++c)
                        cells << t->cellAt(r, c).firstCursorPosition().block().text();
                return cells;
            }
        }
        return {};
    }

    test::LoadedScreen s;
    QTemporaryDir dir;
};

TEST(InstructionRules, OnlyBlanksLineBreaksAndControlCharactersAreBlank)
{
    EXPECT_TRUE(blankInstructions(""));
    EXPECT_TRUE(blankInstructions("{\\rtf1 \\par \\tab\\~\\line\\par}"));
    EXPECT_TRUE(blankInstructions(QByteArray(" \r\n\t\x01", 5)));
    EXPECT_FALSE(blankInstructions("{\\rtf1 \\par .}"));
    EXPECT_FALSE(blankInstructions("{\\rtf1 " + QByteArray(300, '{')));  // what cannot be read is kept
}

TEST_F(Instructions, TheServerTextIsShownAndABlankTextDeletesTheRecordOrSendsNothing)
{
    EXPECT_EQ(shown(), "um");
    f().sbtAlterar->Click();
    editor().loadContent("  \r\n\t \n");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.takeCalls(), QStringList{"SetFotoSubMa(<delta:D>)"});
    EXPECT_EQ(storedText("S1"), "<none>");
    EXPECT_TRUE(record().isEmpty());
    EXPECT_TRUE(f().sbtIncluir->isEnabled());

    s.goToRow(1);  // S2 has no instructions
    s.takeCalls();
    f().sbtIncluir->Click();
    editor().loadContent(" \n ");
    f().sbtConfirmar->Click();
    EXPECT_FALSE(s.takeCalls().join(' ').contains("SetFotoSubMa"));
    EXPECT_TRUE(record().isEmpty());
    EXPECT_EQ(record().state(), DataSetState::Browse);
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
}

TEST_F(Instructions, AFileImportedThenCancelledLeavesTheServerTextAndSendsNothing)
{
    importFile(file("mont.rtf", kTableFile));
    ASSERT_EQ(s.ui().fileDialogs.size(), 1);
    const FileDialogSpec& dialog = s.ui().fileDialogs[0];
    EXPECT_EQ(dialog.title, "Abrir o Arquivo");
    EXPECT_EQ(dialog.filterIndex, 2);
    EXPECT_EQ(dialog.defaultExt, ".rtf");
    EXPECT_EQ(dialog.options, FileOption::HideReadOnly | FileOption::ShowHelp | FileOption::PathMustExist
                                  | FileOption::FileMustExist);
    EXPECT_EQ(firstTable(*editor().document()), (QStringList{"Item", "Gramas", "Feij\u00E3o", "150"}));
    EXPECT_EQ(record().state(), DataSetState::Edit);
    f().sbtCancelar->Click();
    EXPECT_EQ(shown(), "um");

    // A text file comes in as plain text, its control characters dropped.
    importFile(file("notas.txt", QByteArray("Sem\0 sal\x07\n", 10)));
    EXPECT_EQ(shown(), "Sem sal\n");
    f().sbtCancelar->Click();
    EXPECT_EQ(shown(), "um");
    EXPECT_EQ(s.takeCalls(), QStringList{});
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
}

TEST_F(Instructions, ATableImportedAndConfirmedSurvivesVerify)
{
    importFile(file("mont.rtf", kTableFile));
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.takeCalls(), QStringList{"SetFotoSubMa(<delta:U>)"});
    EXPECT_TRUE(storedText("S1").contains("\\trowd"));
    f().sbtVerificar->Click();
    EXPECT_EQ(s.takeCalls(), QStringList{R"(GetFotoSubMa("S1","E1"))"});
    EXPECT_EQ(firstTable(*editor().document()), (QStringList{"Item", "Gramas", "Feij\u00E3o", "150"}));
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
}

TEST_F(Instructions, CopyingAnotherSubGroupsTextReplacesTextAndFormattingAndIsSentOnlyOnConfirm)
{
    const QByteArray formatted = R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\b Tr\'eas\b0  por\'e7\'f5es\par})";
    QSqlQuery update(s.database().db());
    update.prepare("UPDATE FOTOSUBMA SET FGFOTOSUMA = ? WHERE CDPRODUTO = 'S3'");
    update.addBindValue(formatted);
    ASSERT_TRUE(update.exec());
    s.ui().answerSearch([](DataSource& source, const QString&) {
        return source.dataSet()->locate(QStringLiteral("CDSUBGRU"), {QStringLiteral("S3")});
    });
    named<TButtonFlat>(f(), "sbtImp")->Click();
    named<QAction>(f(), "mnuImpInst")->trigger();
    named<QMenu>(f(), "pmnImporta")->hide();
    EXPECT_EQ(s.ui().searchTitles, QStringList{"Serviço"});
    EXPECT_EQ(s.takeCalls(), QStringList{R"(GetImpInsMont("0001","0001","000000100100010001","S1"))"});
    EXPECT_EQ(record().fieldByName("FGFOTOSUMA").asBytes(), formatted);
    EXPECT_TRUE(shown().startsWith(u"Tr\u00EAs"));
    EXPECT_TRUE(editor().document()->begin().begin().fragment().charFormat().fontWeight() >= QFont::Bold);
    EXPECT_EQ(storedText("S1"), "{\\rtf1 um}");

    f().sbtConfirmar->Click();
    EXPECT_EQ(s.takeCalls(), QStringList{"SetFotoSubMa(<delta:U>)"});
    EXPECT_EQ(storedText("S1"), formatted);

    // Picking nothing changes nothing; with no other instructions the list is not offered.
    s.ui().answerSearch([](DataSource&, const QString&) { return false; });
    named<TButtonFlat>(f(), "sbtImp")->Click();
    named<QAction>(f(), "mnuImpInst")->trigger();
    EXPECT_EQ(record().fieldByName("FGFOTOSUMA").asBytes(), formatted);
    f().sbtCancelar->Click();
    QSqlQuery(s.database().db()).exec("DELETE FROM FOTOSUBMA WHERE CDPRODUTO <> 'S1'");
    named<TButtonFlat>(f(), "sbtImp")->Click();
    named<QAction>(f(), "mnuImpInst")->trigger();
    named<QMenu>(f(), "pmnImporta")->hide();
    EXPECT_EQ(s.ui().errors, QStringList{"Não há nenhum outro sub-grupo com a intrução de montagem cadastrada."});
    EXPECT_EQ(record().state(), DataSetState::Edit);
}

TEST_F(Instructions, SavingWritesRichTextWhateverTheFilterAndLeavesTheRecordAlone)
{
    const QString path = file("copia.txt");
    s.ui().answerSaveFile(path);
    named<TButtonFlat>(f(), "sbtSalva")->Click();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray content = saved.readAll();
    EXPECT_TRUE(content.startsWith("{\\rtf1")) << content.constData();
    EXPECT_TRUE(content.contains(" um"));
    const FileDialogSpec& dialog = s.ui().fileDialogs.value(0);
    EXPECT_EQ(dialog.title, "Salvar para o Arquivo");
    EXPECT_EQ(dialog.filterIndex, 2);
    EXPECT_EQ(dialog.defaultExt, ".rtf");
    EXPECT_TRUE(dialog.options.testFlag(FileOption::OverwritePrompt));
    EXPECT_EQ(record().state(), DataSetState::Browse);

    s.ui().answerSaveFile(dir.filePath("no/such/folder/x.rtf"));
    named<TButtonFlat>(f(), "sbtSalva")->Click();
    EXPECT_EQ(s.ui().errors.size(), 1);
    EXPECT_EQ(s.takeCalls(), QStringList{});
}

TEST_F(Instructions, ANewRecordIsFilledAtItsFirstPostOnly)
{
    s.goToRow(1);
    s.takeCalls();
    f().sbtIncluir->Click();
    editor().loadContent("Novo texto");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.takeCalls(), (QStringList{R"(GetParametros("0001"))", "SetFotoSubMa(<delta:I>)"}));
    const auto fields = [&] {
        QSqlQuery q(s.database().db());
        q.exec("SELECT CDPRODUTO || '/' || CDESPEPROD || '/' || CDTIPODOCU FROM FOTOSUBMA WHERE CDPRODUTO = 'S2'");
        return q.next() ? q.value(0).toString() : QString();
    };
    EXPECT_EQ(fields(), "S2/E2/INS");

    QSqlQuery(s.database().db()).exec("UPDATE PARAMFILIAL SET CDTIPODOCU = 'OUT'");
    f().sbtAlterar->Click();
    editor().loadContent("Outro texto");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.takeCalls(), QStringList{"SetFotoSubMa(<delta:U>)"});
    EXPECT_EQ(fields(), "S2/E2/INS");
    EXPECT_EQ(record().fieldByName("CDTIPODOCU").asString(), "INS");
    EXPECT_FALSE(f().sbtIncluir->isEnabled());
    EXPECT_TRUE(f().sbtAlterar->isEnabled());
}

TEST_F(Instructions, ASendFailureShowsTheFailureAndRestoresTheLastAcceptedText)
{
    s.transport().fail("SetFotoSubMa", "banco fora do ar");
    f().sbtAlterar->Click();
    editor().loadContent("perdido");
    f().sbtConfirmar->Click();
    EXPECT_EQ(s.ui().errors.size(), 1);
    EXPECT_TRUE(s.ui().errors.value(0).contains("banco fora do ar"));
    EXPECT_FALSE(s.ui().busyVisible());
    EXPECT_EQ(record().changeCount(), 0);
    EXPECT_EQ(shown(), "um");
    EXPECT_EQ(storedText("S1"), "{\\rtf1 um}");
}

}  // namespace
}  // namespace qmv
