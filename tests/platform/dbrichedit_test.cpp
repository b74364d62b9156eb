// The data-bound rich-text editor on a real dataset: showing, automatic editing, writing back.
#include "platform/dbrichedit.h"
#include "platform/plaintext.h"
#include "platform/rtfreader.h"
#include "platform/widgetaction.h"

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace qmv {
namespace {

const QByteArray kStored = R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 Arroz {\b no centro}\par Carne ao lado})";

FieldDef fieldDef(const QString& name, FieldKind kind, int size = 0)
{
    FieldDef f;
    f.name = name;
    f.kind = kind;
    f.size = size;
    return f;
}

// An instruction record (code and RTF) and an editor bound to it.
struct RichFixture {
    DataSet ds;
    DataSource source;
    QWidget window;
    DBRichEdit* editor;
    QStringList errors;

    explicit RichFixture(QList<Row> rows = {Row{QString("0001"), kStored}},
                         DBRichEdit::Storage storage = DBRichEdit::Storage::RichText,
                         FieldKind kind = FieldKind::Blob, int size = 0)
        : editor(new DBRichEdit(&window, "dbrMontServico", storage))
    {
        DataPacket packet;
        packet.fields = {fieldDef("CDPRODUTO", FieldKind::Text, 10), fieldDef("FGFOTOSUMA", kind, size)};
        packet.rows = rows;
        ds.loadPacket(packet);
        source.setDataSet(&ds);
        editor->setDataSource(&source);
        editor->setDataField("FGFOTOSUMA");
        setWidgetErrorSink([this](std::exception_ptr e) {
            try {
                std::rethrow_exception(e);
            } catch (const std::exception& x) {
                errors << QString::fromStdString(x.what());
            }
        });
        window.resize(400, 300);
        editor->resize(400, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        editor->setFocus();
    }
    ~RichFixture() { setWidgetErrorSink({}); }

    QString storedText() const { return plainTextOfRtf(ds.fieldByName("FGFOTOSUMA").asBytes()); }
    void typeAtEnd(const QString& text)
    {
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, text);
    }
};

TEST(DBRichEdit, ShowsTheRtfOfTheFieldWithItsFormatting)
{
    RichFixture f;
    EXPECT_EQ(f.editor->objectName(), "dbrMontServico");
    EXPECT_EQ(f.editor->plainContent(), "Arroz no centro\nCarne ao lado");
    const QTextBlock first = f.editor->document()->begin();
    auto it = first.begin();
    EXPECT_FALSE(it.fragment().charFormat().fontWeight() >= QFont::DemiBold);
    ++it;
    EXPECT_EQ(it.fragment().text(), "no centro");
    EXPECT_GE(it.fragment().charFormat().fontWeight(), QFont::DemiBold);
    EXPECT_EQ(it.fragment().charFormat().fontPointSize(), 10);
    EXPECT_FALSE(f.editor->isReadOnly());
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
}

TEST(DBRichEdit, TypingEditsTheRecordAndPostingStoresTheDocumentAsRtf)
{
    RichFixture f;
    f.typeAtEnd(" quente");
    EXPECT_EQ(f.ds.state(), DataSetState::Edit);
    f.ds.post();
    const QByteArray stored = f.ds.fieldByName("FGFOTOSUMA").asBytes();
    EXPECT_TRUE(stored.startsWith("{\\rtf1"));
    EXPECT_EQ(f.storedText(), "Arroz no centro\nCarne ao lado quente");
    EXPECT_TRUE(stored.contains("\\b no centro")) << stored.constData();
    ASSERT_EQ(f.ds.changeCount(), 1);
    EXPECT_EQ(f.ds.delta().changes[0].kind, ChangeKind::Update);
    // The post brings back the editor's own value: the caret stays where the person left it.
    EXPECT_EQ(f.editor->textCursor().position(), f.editor->document()->characterCount() - 1);
}

TEST(DBRichEdit, TypingIntoARecordlessDatasetBeginsANewRecordAndKeepsTheText)
{
    RichFixture f(QList<Row>{});
    EXPECT_EQ(f.editor->plainContent(), "");
    QTest::keyClicks(f.editor, "Nova");
    EXPECT_EQ(f.ds.state(), DataSetState::Insert);
    EXPECT_EQ(f.editor->plainContent(), "Nova");
    f.ds.post();
    EXPECT_EQ(f.storedText(), "Nova");
    EXPECT_EQ(f.ds.delta().changes.value(0).kind, ChangeKind::Insert);
}

TEST(DBRichEdit, CancelAndMovingToAnotherRecordShowTheStoredText)
{
    RichFixture f({Row{QString("0001"), kStored}, Row{QString("0002"), QByteArray("{\\rtf1 Outro}")}});
    f.typeAtEnd(" mudado");
    f.ds.cancel();
    EXPECT_EQ(f.editor->plainContent(), "Arroz no centro\nCarne ao lado");
    f.ds.next();
    EXPECT_EQ(f.editor->plainContent(), "Outro");
    f.ds.prior();
    EXPECT_EQ(f.editor->plainContent(), "Arroz no centro\nCarne ao lado");
}

TEST(DBRichEdit, ShowsAValueWrittenToTheFieldByCodeAtOnce)
{
    RichFixture f;
    f.ds.edit();
    f.ds.fieldByName("FGFOTOSUMA").setAsBytes(R"({\rtf1 {\i Copiado} de outro})");
    EXPECT_EQ(f.editor->plainContent(), "Copiado de outro");
    EXPECT_TRUE(f.editor->document()->begin().begin().fragment().charFormat().fontItalic());
    f.ds.fieldByName("FGFOTOSUMA").clear();
    EXPECT_EQ(f.editor->plainContent(), "");
}

TEST(DBRichEdit, FormattingASelectionEditsTheRecord)
{
    RichFixture f;
    QTextCursor c = f.editor->textCursor();
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    f.editor->setTextCursor(c);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    f.editor->mergeCurrentCharFormat(italic);
    EXPECT_EQ(f.ds.state(), DataSetState::Edit);
    EXPECT_TRUE(f.ds.fieldByName("FGFOTOSUMA").asBytes().contains("\\i Arroz"));
}

TEST(DBRichEdit, AnEditRefusedByTheDatasetRestoresTheTextAndReportsTheError)
{
    RichFixture f;
    f.ds.beforeEdit = [](DataSet&) { throw DataSetError("Registro bloqueado."); };
    f.typeAtEnd("x");
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_EQ(f.editor->plainContent(), "Arroz no centro\nCarne ao lado");
    ASSERT_FALSE(f.errors.isEmpty());
    EXPECT_EQ(f.errors.first(), "Registro bloqueado.");
}

TEST(DBRichEdit, IsReadOnlyWithoutAnOpenDatasetOrWithRtfItCannotRead)
{
    RichFixture f;
    f.ds.close();
    EXPECT_TRUE(f.editor->isReadOnly());
    EXPECT_EQ(f.editor->plainContent(), "");

    const QByteArray unreadable = "{\\rtf1 " + QByteArray(400, '{') + "x";
    RichFixture broken({Row{QString("0001"), unreadable}});
    EXPECT_TRUE(broken.editor->isReadOnly());
    EXPECT_FALSE(broken.editor->toolTip().isEmpty());
    QTest::keyClicks(broken.editor, "abc");
    EXPECT_EQ(broken.ds.state(), DataSetState::Browse);
    EXPECT_EQ(broken.ds.fieldByName("FGFOTOSUMA").asBytes(), unreadable);
}

TEST(DBRichEdit, LoadingContentReplacesTheTextAsAnEditAndCancelRestoresIt)
{
    RichFixture f;
    f.editor->loadContent("Texto simples\r\nde arquivo");
    EXPECT_EQ(f.ds.state(), DataSetState::Edit);
    EXPECT_EQ(f.editor->plainContent(), "Texto simples\nde arquivo");
    EXPECT_EQ(f.storedText(), "Texto simples\nde arquivo");
    EXPECT_THROW(f.editor->loadContent("{\\rtf1 " + QByteArray(400, '{')), RtfError);
    EXPECT_EQ(f.editor->plainContent(), "Texto simples\nde arquivo");
    f.ds.cancel();
    EXPECT_EQ(f.editor->plainContent(), "Arroz no centro\nCarne ao lado");
    EXPECT_TRUE(f.editor->toRtf().startsWith("{\\rtf1"));
    EXPECT_EQ(plainTextOfRtf(f.editor->toRtf()), "Arroz no centro\nCarne ao lado");
}

TEST(DBRichEdit, ThePlainTextVariantStoresTextWithoutFormattingCutToTheFieldSize)
{
    RichFixture f({Row{QString("0001"), QString("Sem cebola")}}, DBRichEdit::Storage::PlainText,
                  FieldKind::Text, 200);
    EXPECT_EQ(f.editor->plainContent(), "Sem cebola");
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(Qt::red);
    f.editor->moveCursor(QTextCursor::End);
    f.editor->mergeCurrentCharFormat(bold);
    QTest::keyClicks(f.editor, " e sem alho");
    QTest::keyClick(f.editor, Qt::Key_Return);
    QTest::keyClicks(f.editor, QString(250, 'x'));
    EXPECT_EQ(f.ds.state(), DataSetState::Edit);
    f.ds.post();
    const QString stored = f.ds.fieldByName("FGFOTOSUMA").asString();
    EXPECT_EQ(stored.size(), 200);
    EXPECT_TRUE(stored.startsWith("Sem cebola e sem alho\nxxx"));
    EXPECT_FALSE(stored.contains("rtf"));
    // Shown again, the observation has no formatting left.
    for (DBRichEdit* shown : {f.editor, new DBRichEdit(&f.window, "dbrObsSubGrupo", DBRichEdit::Storage::PlainText)}) {
        shown->setDataSource(&f.source);
        shown->setDataField("FGFOTOSUMA");
        EXPECT_EQ(shown->plainContent(), stored);
        for (auto it = shown->document()->begin().begin(); !it.atEnd(); ++it) {
            EXPECT_LT(it.fragment().charFormat().fontWeight(), QFont::DemiBold);
            EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
        }
    }
}

}  // namespace
}  // namespace qmv
