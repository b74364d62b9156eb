// TFormatPanel acting on an editor and following its cursor, offscreen.
#include "host/formatpanel.h"
#include "host/tbuttonflat.h"
#include "platform/dbrichedit.h"
#include "platform/rtfreader.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontComboBox>
#include <QMenu>
#include <QTextBlock>
#include <QTextList>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace qmv {
namespace {

struct PanelFixture {
    QWidget window;
    TFormatPanel* panel = new TFormatPanel(&window, "fpnMontagem");
    QTextEdit* editor = new QTextEdit(&window);

    PanelFixture()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(panel);
        layout->addWidget(editor);
        readRtf(R"({\rtf1{\fonttbl{\f0 DejaVu Sans;}}\f0\fs24 Arroz {\b no centro}\par\qc Carne\par\pard Fim})",
                *editor->document());
        panel->setRichEdit(editor);
        window.resize(700, 300);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    // Selects [from, to) of the document.
    void select(int from, int to)
    {
        QTextCursor c(editor->document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        editor->setTextCursor(c);
    }
    QTextCharFormat formatAt(int position) const
    {
        QTextCursor c(editor->document());
        c.setPosition(position);
        return c.charFormat();  // the format of the character before the position
    }
    QTextBlock block(int n) const { return editor->document()->findBlockByNumber(n); }
};

TEST(TFormatPanel, ShowsItsControlsInOrderWithTheirHintsAndHidesCut)
{
    PanelFixture f;
    EXPECT_EQ(f.panel->hints(),
              (QStringList{"Recortar", "Copiar", "Colar", "Voltar", "Fonte", "Tamanho", "Negrito",
                           "Itálico", "Sublinhado", "Alinhar à esquerda", "Alinhar centralizado",
                           "Alinhar à direita", "Numerador", "Cores"}));
    EXPECT_FALSE(f.panel->cutButton()->isVisible());
    const QList<QWidget*> controls = f.panel->controls();
    ASSERT_EQ(controls.size(), 14);
    int x = -1;
    for (QWidget* w : controls.mid(1)) {
        EXPECT_TRUE(w->isVisible()) << w->toolTip().toStdString();
        EXPECT_GT(w->x(), x) << w->toolTip().toStdString();
        x = w->x();
    }
}

// The icons come with the program: a desktop without an icon theme shows them all the same.
TEST(TFormatPanel, EveryButtonShowsADrawnIconWhateverTheIconTheme)
{
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    PanelFixture f;
    for (QWidget* w : f.panel->controls()) {
        auto* button = qobject_cast<TButtonFlat*>(w);
        if (!button)
            continue;
        const QImage image = button->icon().pixmap(16, 16).toImage();
        ASSERT_FALSE(image.isNull()) << button->toolTip().toStdString();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(inked, 10) << button->toolTip().toStdString();
    }
}

TEST(TFormatPanel, StyleButtonsFormatTheSelectionAndFollowTheCaret)
{
    PanelFixture f;
    f.select(0, 5);  // "Arroz"
    EXPECT_FALSE(f.panel->boldButton()->isChecked());
    f.panel->italicButton()->click();
    f.panel->underlineButton()->click();
    f.panel->boldButton()->click();
    const QTextCharFormat arroz = f.formatAt(3);
    EXPECT_TRUE(arroz.fontItalic());
    EXPECT_TRUE(arroz.fontUnderline());
    EXPECT_GE(arroz.fontWeight(), QFont::DemiBold);
    EXPECT_FALSE(f.formatAt(6).fontItalic());  // the blank after the selection keeps its format

    f.select(8, 8);  // inside "no centro", bold in the document
    EXPECT_TRUE(f.panel->boldButton()->isChecked());
    EXPECT_FALSE(f.panel->italicButton()->isChecked());
    EXPECT_EQ(f.panel->sizeBox()->currentText(), "12");
    f.select(7, 13);
    f.panel->boldButton()->click();
    EXPECT_LT(f.formatAt(10).fontWeight(), QFont::DemiBold);
    EXPECT_FALSE(f.panel->boldButton()->isChecked());
}

TEST(TFormatPanel, FontSizeAndColourApplyToTheSelection)
{
    PanelFixture f;
    f.select(0, 5);
    emit f.panel->fontBox()->textActivated("DejaVu Serif");
    emit f.panel->sizeBox()->textActivated("18");
    QAction* red = nullptr;
    for (QAction* a : f.panel->colorMenu()->actions())
        if (a->text() == "Vermelho")
            red = a;
    ASSERT_NE(red, nullptr);
    red->trigger();
    QTextCharFormat arroz = f.formatAt(3);
    EXPECT_EQ(arroz.fontFamilies().toStringList().value(0), "DejaVu Serif");
    EXPECT_EQ(arroz.fontPointSize(), 18);
    EXPECT_EQ(arroz.foreground().color(), QColor(Qt::red));
    EXPECT_EQ(f.panel->sizeBox()->currentText(), "18");
    EXPECT_EQ(f.panel->fontBox()->currentFont().family(), "DejaVu Serif");

    f.panel->colorMenu()->actions().first()->trigger();  // automatic
    EXPECT_EQ(f.formatAt(3).foreground().style(), Qt::NoBrush);
    emit f.panel->sizeBox()->textActivated("0");
    EXPECT_EQ(f.formatAt(3).fontPointSize(), 18);
}

TEST(TFormatPanel, AlignmentAndBulletsActOnParagraphsAndFollowTheCaret)
{
    PanelFixture f;
    f.select(18, 18);  // in "Carne", centred
    EXPECT_TRUE(f.panel->alignCenterButton()->isChecked());
    EXPECT_FALSE(f.panel->alignLeftButton()->isChecked());
    f.panel->alignRightButton()->click();
    EXPECT_EQ(f.block(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(f.panel->alignRightButton()->isChecked());
    EXPECT_FALSE(f.panel->alignCenterButton()->isChecked());
    f.select(2, 2);
    EXPECT_TRUE(f.panel->alignLeftButton()->isChecked());

    f.select(2, 18);  // the first two paragraphs
    f.panel->bulletsButton()->click();
    ASSERT_NE(f.block(0).textList(), nullptr);
    EXPECT_EQ(f.block(0).textList(), f.block(1).textList());
    EXPECT_EQ(f.block(0).textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(f.block(2).textList(), nullptr);
    EXPECT_TRUE(f.panel->bulletsButton()->isChecked());
    f.select(18, 18);
    f.panel->bulletsButton()->click();
    EXPECT_EQ(f.block(1).textList(), nullptr);
    EXPECT_EQ(f.block(1).blockFormat().indent(), 0);
    EXPECT_NE(f.block(0).textList(), nullptr);
    EXPECT_FALSE(f.panel->bulletsButton()->isChecked());
}

TEST(TFormatPanel, CopyPasteAndUndoUseTheEditor)
{
    PanelFixture f;
    f.select(0, 0);
    EXPECT_FALSE(f.panel->copyButton()->isEnabled());
    f.select(0, 5);
    EXPECT_TRUE(f.panel->copyButton()->isEnabled());
    f.panel->copyButton()->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "Arroz");
    f.select(f.editor->document()->characterCount() - 1, f.editor->document()->characterCount() - 1);
    f.panel->pasteButton()->click();
    EXPECT_TRUE(f.editor->toPlainText().endsWith("FimArroz"));
    EXPECT_TRUE(f.panel->undoButton()->isEnabled());
    f.panel->undoButton()->click();
    EXPECT_TRUE(f.editor->toPlainText().endsWith("Fim"));
}

TEST(TFormatPanel, ChangesNothingInAReadOnlyEditorAndIsDisabledWithoutOne)
{
    PanelFixture f;
    f.editor->setReadOnly(true);
    f.select(0, 5);
    f.panel->boldButton()->click();
    f.panel->alignCenterButton()->click();
    f.panel->bulletsButton()->click();
    EXPECT_LT(f.formatAt(3).fontWeight(), QFont::DemiBold);
    EXPECT_EQ(f.block(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(f.block(0).textList(), nullptr);

    f.panel->setRichEdit(nullptr);
    for (QWidget* w : f.panel->controls())
        EXPECT_FALSE(w->isEnabled()) << w->toolTip().toStdString();
}

TEST(TFormatPanel, FormattingABoundEditorPutsTheRecordInEdit)
{
    PanelFixture f;
    DataSet ds;
    DataSource source;
    FieldDef def;
    def.name = "FGFOTOSUMA";
    def.kind = FieldKind::Blob;
    ds.loadPacket(DataPacket{{def}, {Row{QByteArray("{\\rtf1 Texto}")}}});
    source.setDataSet(&ds);
    auto* bound = new DBRichEdit(&f.window, "dbrMontServico");
    bound->setDataSource(&source);
    bound->setDataField("FGFOTOSUMA");
    f.panel->setRichEdit(bound);
    QTextCursor c(bound->document());
    c.select(QTextCursor::Document);
    bound->setTextCursor(c);
    f.panel->underlineButton()->click();
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    EXPECT_TRUE(ds.fieldByName("FGFOTOSUMA").asBytes().contains("\\ul Texto"));
}

}  // namespace
}  // namespace qmv
