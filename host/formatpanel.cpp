#include "host/formatpanel.h"

#include "host/tbuttonflat.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>

namespace qmv {
namespace {

QIcon shipped(const char* name)
{
    return QIcon(QStringLiteral(":/qmv/formatpanel/%1.png").arg(QLatin1String(name)));
}

QIcon colorIcon(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.drawText(QRect(0, 0, 16, 12), Qt::AlignCenter, QStringLiteral("A"));
    p.fillRect(1, 12, 14, 3, color.isValid() ? color : QColor(Qt::black));
    return QIcon(pixmap);
}

struct NamedColor {
    const char* name;
    QRgb rgb;
};

// The sixteen basic colours of the classic palette.
constexpr NamedColor kColors[] = {
    {"Preto", 0x000000}, {"Marrom", 0x800000}, {"Verde", 0x008000}, {"Oliva", 0x808000},
    {"Azul-marinho", 0x000080}, {"Roxo", 0x800080}, {"Azul-petróleo", 0x008080},
    {"Cinza", 0x808080}, {"Prata", 0xC0C0C0}, {"Vermelho", 0xFF0000}, {"Lima", 0x00FF00},
    {"Amarelo", 0xFFFF00}, {"Azul", 0x0000FF}, {"Fúcsia", 0xFF00FF}, {"Água", 0x00FFFF},
    {"Branco", 0xFFFFFF}};

// The width of an editable combo box whose text is `text`: the text, the line edit's margins, the
// frame and the arrow.
int boxWidthFor(const QComboBox& box, const QString& text)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = true;
    const QSize content(box.fontMetrics().horizontalAdvance(text) + 8, box.fontMetrics().height());
    return box.style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, &box).width();
}

constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

}  // namespace

TFormatPanel::TFormatPanel(QWidget* parent, const QString& name) : QWidget(parent)
{
    setObjectName(name);
    build();
    connectActions();
    follow();
}

TButtonFlat* TFormatPanel::addButton(const QString& name, const QString& hint, bool toggle)
{
    auto* button = new TButtonFlat(this, name, hint, toggle);
    button->setFixedSize(24, 24);
    layout()->addWidget(button);
    controls_ << button;
    return button;
}

void TFormatPanel::build()
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    cut_ = addButton("btnRecortar", "Recortar", false);
    cut_->setIcon(shipped("cut"));
    cut_->hide();
    copy_ = addButton("btnCopiar", "Copiar", false);
    copy_->setIcon(shipped("copy"));
    paste_ = addButton("btnColar", "Colar", false);
    paste_->setIcon(shipped("paste"));
    undo_ = addButton("btnVoltar", "Voltar", false);
    undo_->setIcon(shipped("undo"));

    font_ = new QFontComboBox(this);
    font_->setObjectName("cbbFonte");
    font_->setToolTip("Fonte");
    font_->setFocusPolicy(Qt::ClickFocus);
    font_->setMaximumWidth(160);
    font_->setMinimumWidth(boxWidthFor(*font_, QStringLiteral("Aa")));  // the name's start, at least
    row->addWidget(font_);
    controls_ << font_;
    size_ = new QComboBox(this);
    size_->setObjectName("cbbTamanho");
    size_->setToolTip("Tamanho");
    size_->setEditable(true);
    size_->setValidator(new QIntValidator(1, 1638, size_));
    size_->setFocusPolicy(Qt::ClickFocus);
    for (int s : kSizes)
        size_->addItem(QString::number(s));
    size_->setFixedWidth(boxWidthFor(*size_, QStringLiteral("00.75")));  // the font's name gives way first
    row->addWidget(size_);
    controls_ << size_;

    bold_ = addButton("btnNegrito", "Negrito", true);
    bold_->setIcon(shipped("bold"));
    italic_ = addButton("btnItalico", "Itálico", true);
    italic_->setIcon(shipped("italic"));
    underline_ = addButton("btnSublinhado", "Sublinhado", true);
    underline_->setIcon(shipped("underline"));
    left_ = addButton("btnEsquerda", "Alinhar à esquerda", true);
    left_->setIcon(shipped("left"));
    center_ = addButton("btnCentro", "Alinhar centralizado", true);
    center_->setIcon(shipped("center"));
    right_ = addButton("btnDireita", "Alinhar à direita", true);
    right_->setIcon(shipped("right"));
    bullets_ = addButton("btnNumerador", "Numerador", true);
    bullets_->setIcon(shipped("bullets"));
    color_ = addButton("btnCores", "Cores", false);
    color_->setIcon(colorIcon(QColor()));
    color_->setPopupMode(QToolButton::InstantPopup);
    colorMenu_ = new QMenu(color_);
    colorMenu_->addAction(colorIcon(QColor()), "Automático")->setData(QColor());
    for (const NamedColor& c : kColors)
        colorMenu_->addAction(colorIcon(QColor(c.rgb)), QString::fromUtf8(c.name))->setData(QColor(c.rgb));
    color_->setMenu(colorMenu_);
    row->addStretch(1);
}

QStringList TFormatPanel::hints() const
{
    QStringList list;
    for (const QWidget* w : controls_)
        list << w->toolTip();
    return list;
}

void TFormatPanel::connectActions()
{
    connect(cut_, &QToolButton::clicked, this, [this] {
        if (editor_ && !editor_->isReadOnly())
            editor_->cut();
        done();
    });
    connect(copy_, &QToolButton::clicked, this, [this] {
        if (editor_)
            editor_->copy();
        done();
    });
    connect(paste_, &QToolButton::clicked, this, [this] {
        if (editor_ && !editor_->isReadOnly())
            editor_->paste();
        done();
    });
    connect(undo_, &QToolButton::clicked, this, [this] {
        if (editor_ && !editor_->isReadOnly())
            editor_->undo();
        done();
    });
    connect(font_, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat format;
        format.setFontFamilies(QStringList{family});
        mergeFormat(format);
    });
    connect(size_, &QComboBox::textActivated, this, [this](const QString& text) {
        QTextCharFormat format;
        if (const double points = text.toDouble(); points > 0) {
            format.setFontPointSize(points);
            mergeFormat(format);
        }
    });
    connect(bold_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(format);
    });
    connect(italic_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        mergeFormat(format);
    });
    connect(underline_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        mergeFormat(format);
    });
    connect(left_, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignLeft); });
    connect(center_, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignHCenter); });
    connect(right_, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignRight); });
    connect(bullets_, &QToolButton::clicked, this, &TFormatPanel::setBullets);
    connect(colorMenu_, &QMenu::triggered, this,
            [this](QAction* action) { setColor(action->data().value<QColor>()); });
}

void TFormatPanel::setRichEdit(QTextEdit* editor)
{
    for (const auto& c : editorConnections_)
        disconnect(c);
    editorConnections_.clear();
    editor_ = editor;
    if (editor) {
        editorConnections_ << connect(editor, &QTextEdit::currentCharFormatChanged, this,
                                      &TFormatPanel::showFormat);
        editorConnections_ << connect(editor, &QTextEdit::cursorPositionChanged, this, &TFormatPanel::follow);
        editorConnections_ << connect(editor, &QTextEdit::copyAvailable, this, &TFormatPanel::follow);
        editorConnections_ << connect(editor, &QTextEdit::undoAvailable, this, &TFormatPanel::follow);
        editorConnections_ << connect(editor, &QObject::destroyed, this, &TFormatPanel::follow,
                                      Qt::QueuedConnection);
    }
    follow();
}

// Shows the format at the caret: character format, paragraph alignment and list, what can be done.
void TFormatPanel::follow()
{
    for (QWidget* w : controls_)
        w->setEnabled(editor_ != nullptr);
    if (!editor_)
        return;
    const QTextCursor cursor = editor_->textCursor();
    showFormat(cursor.charFormat());
    const Qt::Alignment align = cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    center_->setChecked(align & Qt::AlignHCenter);
    right_->setChecked((align & Qt::AlignRight) && !(align & Qt::AlignHCenter));
    left_->setChecked(!center_->isChecked() && !right_->isChecked() && !(align & Qt::AlignJustify));
    bullets_->setChecked(cursor.currentList() != nullptr);
    copy_->setEnabled(cursor.hasSelection());
    cut_->setEnabled(cursor.hasSelection() && !editor_->isReadOnly());
    undo_->setEnabled(editor_->document()->isUndoAvailable() && !editor_->isReadOnly());
}

void TFormatPanel::showFormat(const QTextCharFormat& format)
{
    if (!editor_)
        return;
    const QFont font = format.font().resolve(editor_->document()->defaultFont());
    {
        const QSignalBlocker block(font_);
        font_->setCurrentFont(font);
    }
    qreal points = font.pointSizeF();
    if (points <= 0)
        points = font.pixelSize() * 0.75;
    size_->setEditText(QString::number(points));
    // A name or size longer than its box shows its start, not its end.
    font_->lineEdit()->setCursorPosition(0);
    size_->lineEdit()->setCursorPosition(0);
    bold_->setChecked(font.weight() >= QFont::DemiBold);
    italic_->setChecked(font.italic());
    underline_->setChecked(format.fontUnderline());
    const QColor color = format.hasProperty(QTextFormat::ForegroundBrush)
                             && format.foreground().style() != Qt::NoBrush
                             ? format.foreground().color()
                             : QColor();
    color_->setIcon(colorIcon(color));
}

void TFormatPanel::mergeFormat(const QTextCharFormat& format)
{
    if (editor_ && !editor_->isReadOnly())
        editor_->mergeCurrentCharFormat(format);
    follow();
    done();
}

void TFormatPanel::setAlignment(Qt::Alignment alignment)
{
    if (editor_ && !editor_->isReadOnly())
        editor_->setAlignment(alignment);
    follow();
    done();
}

// Bullets on: the selected paragraphs become one bulleted list. Off: they leave their lists.
void TFormatPanel::setBullets(bool on)
{
    if (editor_ && !editor_->isReadOnly()) {
        QTextCursor cursor = editor_->textCursor();
        cursor.beginEditBlock();
        if (on) {
            QTextListFormat list;
            list.setStyle(QTextListFormat::ListDisc);
            cursor.createList(list);
        } else {
            QTextBlock block = editor_->document()->findBlock(cursor.selectionStart());
            const QTextBlock last = editor_->document()->findBlock(cursor.selectionEnd());
            for (;; block = block.next()) {
                if (QTextList* list = block.textList()) {
                    list->remove(block);
                    QTextCursor at(block);
                    QTextBlockFormat format = at.blockFormat();
                    format.setIndent(0);
                    at.setBlockFormat(format);
                }
                if (block == last || !block.isValid())
                    break;
            }
        }
        cursor.endEditBlock();
    }
    follow();
    done();
}

void TFormatPanel::setColor(const QColor& color)
{
    QTextCharFormat format;
    format.setForeground(color.isValid() ? QBrush(color) : QBrush());
    mergeFormat(format);
}

void TFormatPanel::done()
{
    if (editor_)
        editor_->setFocus(Qt::OtherFocusReason);
}

}  // namespace qmv
