#pragma once
// TFormatPanel: the formatting bar of a rich-text editor. Copy, paste, undo, font, size, bold,
// italic, underline, the three alignments, bullets and text colour, in that order, each with its
// hint; a cut button is in the hint list but hidden. The bar acts on the attached editor and
// follows its cursor (the buttons show the format where the caret is). UI thread only.
#include <QPointer>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

class QComboBox;
class QFontComboBox;
class QMenu;
class QTextCharFormat;
class QToolButton;

namespace qmv {

class TButtonFlat;

class TFormatPanel : public QWidget {
    Q_OBJECT
public:
    explicit TFormatPanel(QWidget* parent = nullptr, const QString& name = QString());

    void setRichEdit(QTextEdit* editor);
    QTextEdit* richEdit() const { return editor_; }

    // The hints of the bar's controls in their order, the hidden cut first.
    QStringList hints() const;
    // The controls in their order, the hidden cut first.
    QList<QWidget*> controls() const { return controls_; }

    TButtonFlat* cutButton() const { return cut_; }
    TButtonFlat* copyButton() const { return copy_; }
    TButtonFlat* pasteButton() const { return paste_; }
    TButtonFlat* undoButton() const { return undo_; }
    QFontComboBox* fontBox() const { return font_; }
    QComboBox* sizeBox() const { return size_; }
    TButtonFlat* boldButton() const { return bold_; }
    TButtonFlat* italicButton() const { return italic_; }
    TButtonFlat* underlineButton() const { return underline_; }
    TButtonFlat* alignLeftButton() const { return left_; }
    TButtonFlat* alignCenterButton() const { return center_; }
    TButtonFlat* alignRightButton() const { return right_; }
    TButtonFlat* bulletsButton() const { return bullets_; }
    TButtonFlat* colorButton() const { return color_; }
    // The colours offered by the colour button; the first action is the automatic colour.
    QMenu* colorMenu() const { return colorMenu_; }

private:
    TButtonFlat* addButton(const QString& name, const QString& hint, bool toggle);
    void build();
    void connectActions();
    void follow();
    void showFormat(const QTextCharFormat& format);
    void mergeFormat(const QTextCharFormat& format);
    void setAlignment(Qt::Alignment alignment);
    void setBullets(bool on);
    void setColor(const QColor& color);
    void done();

    QPointer<QTextEdit> editor_;
    QList<QMetaObject::Connection> editorConnections_;
    QList<QWidget*> controls_;
    TButtonFlat* cut_ = nullptr;
    TButtonFlat* copy_ = nullptr;
    TButtonFlat* paste_ = nullptr;
    TButtonFlat* undo_ = nullptr;
    QFontComboBox* font_ = nullptr;
    QComboBox* size_ = nullptr;
    TButtonFlat* bold_ = nullptr;
    TButtonFlat* italic_ = nullptr;
    TButtonFlat* underline_ = nullptr;
    TButtonFlat* left_ = nullptr;
    TButtonFlat* center_ = nullptr;
    TButtonFlat* right_ = nullptr;
    TButtonFlat* bullets_ = nullptr;
    TButtonFlat* color_ = nullptr;
    QMenu* colorMenu_ = nullptr;
};

}  // namespace qmv
