#include "platform/filterexpr.h"

#include "platform/dataset.h"

#include <QDateTime>
#include <variant>

namespace qmv {

struct FilterExpr::Node {
    enum class Kind { And, Or, Not, Compare } kind = Kind::Compare;
    std::unique_ptr<Node> left, right;
    int field = -1;
    QString op;
    std::variant<QString, double> literal;
};

namespace {

using Node = FilterExpr::Node;

struct Token {
    enum class Kind { End, Name, Text, Number, Op, Open, Close } kind = Kind::End;
    QString text;
};

class Parser {
public:
    Parser(const QString& text, const std::function<int(const QString&)>& resolve)
        : text_(text), resolve_(resolve)
    {
        advance();
    }

    std::unique_ptr<Node> parseAll()
    {
        auto node = parseOr();
        if (token_.kind != Token::Kind::End)
            fail("unexpected '" + token_.text + "'");
        return node;
    }

private:
    [[noreturn]] void fail(const QString& why) const
    {
        throw DataSetError(QStringLiteral("Filtro inválido \"%1\": %2").arg(text_, why).toStdString());
    }

    bool isKeyword(const char* word) const
    {
        return token_.kind == Token::Kind::Name && token_.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    static std::unique_ptr<Node> join(Node::Kind kind, std::unique_ptr<Node> left, std::unique_ptr<Node> right)
    {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    std::unique_ptr<Node> parseOr()
    {
        auto node = parseAnd();
        while (isKeyword("OR")) {
            advance();
            node = join(Node::Kind::Or, std::move(node), parseAnd());
        }
        return node;
    }

    std::unique_ptr<Node> parseAnd()
    {
        auto node = parseUnary();
        while (isKeyword("AND")) {
            advance();
            node = join(Node::Kind::And, std::move(node), parseUnary());
        }
        return node;
    }

    std::unique_ptr<Node> parseUnary()
    {
        if (isKeyword("NOT")) {
            advance();
            return join(Node::Kind::Not, parseUnary(), nullptr);
        }
        if (token_.kind == Token::Kind::Open) {
            advance();
            auto node = parseOr();
            if (token_.kind != Token::Kind::Close)
                fail("missing ')'");
            advance();
            return node;
        }
        return parseComparison();
    }

    std::unique_ptr<Node> parseComparison()
    {
        if (token_.kind != Token::Kind::Name)
            fail("a field name was expected");
        auto node = std::make_unique<Node>();
        node->field = resolve_(token_.text);
        if (node->field < 0)
            fail("unknown field " + token_.text);
        advance();
        if (token_.kind != Token::Kind::Op)
            fail("a comparison was expected");
        node->op = token_.text;
        advance();
        if (token_.kind == Token::Kind::Text)
            node->literal = token_.text;
        else if (token_.kind == Token::Kind::Number)
            node->literal = token_.text.toDouble();
        else
            fail("a value was expected");
        advance();
        return node;
    }

    void advance()
    {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        token_ = Token{};
        if (pos_ >= text_.size())
            return;
        const QChar c = text_[pos_];
        if (c == '(' || c == ')') {
            token_ = {c == '(' ? Token::Kind::Open : Token::Kind::Close, QString(c)};
            ++pos_;
        } else if (c == '\'') {
            readText();
        } else if (c == '[') {
            readBracketedName();
        } else if (c.isDigit() || c == '-' || c == '.') {
            readNumber();
        } else if (c == '=' || c == '<' || c == '>') {
            readOperator();
        } else if (c.isLetter() || c == '_') {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && (text_[pos_].isLetterOrNumber() || text_[pos_] == '_'))
                ++pos_;
            token_ = {Token::Kind::Name, text_.mid(start, pos_ - start)};
        } else {
            fail(QStringLiteral("unexpected '%1'").arg(c));
        }
    }

    void readText()
    {
        QString value;
        for (++pos_; pos_ < text_.size(); ++pos_) {
            if (text_[pos_] == '\'') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                    value += '\'';
                    ++pos_;
                    continue;
                }
                ++pos_;
                token_ = {Token::Kind::Text, value};
                return;
            }
            value += text_[pos_];
        }
        fail("unterminated text");
    }

    void readBracketedName()
    {
        const qsizetype close = text_.indexOf(']', pos_);
        if (close < 0)
            fail("missing ']'");
        token_ = {Token::Kind::Name, text_.mid(pos_ + 1, close - pos_ - 1)};
        pos_ = close + 1;
    }

    void readNumber()
    {
        const qsizetype start = pos_++;
        while (pos_ < text_.size() && (text_[pos_].isDigit() || text_[pos_] == '.'))
            ++pos_;
        bool ok = false;
        const QString number = text_.mid(start, pos_ - start);
        number.toDouble(&ok);
        if (!ok)
            fail("bad number " + number);
        token_ = {Token::Kind::Number, number};
    }

    void readOperator()
    {
        const qsizetype start = pos_++;
        const QChar first = text_[start];
        if (pos_ < text_.size()
            && ((first == '<' && (text_[pos_] == '=' || text_[pos_] == '>'))
                || (first == '>' && text_[pos_] == '=')))
            ++pos_;
        token_ = {Token::Kind::Op, text_.mid(start, pos_ - start)};
    }

    const QString& text_;
    const std::function<int(const QString&)>& resolve_;
    qsizetype pos_ = 0;
    Token token_;
};

QString valueText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("dd/MM/yyyy"));
    return value.toString();
}

int compareTo(const QVariant& value, const std::variant<QString, double>& literal)
{
    if (const double* number = std::get_if<double>(&literal)) {
        bool ok = false;
        const double v = value.isNull() ? 0.0 : value.toString().toDouble(&ok);
        if (value.isNull() || ok)
            return v < *number ? -1 : (v > *number ? 1 : 0);
        return valueText(value).compare(QString::number(*number));
    }
    return valueText(value).compare(std::get<QString>(literal));
}

bool evaluate(const Node& node, const Row& row)
{
    switch (node.kind) {
    case Node::Kind::And: return evaluate(*node.left, row) && evaluate(*node.right, row);
    case Node::Kind::Or: return evaluate(*node.left, row) || evaluate(*node.right, row);
    case Node::Kind::Not: return !evaluate(*node.left, row);
    case Node::Kind::Compare: break;
    }
    const int c = compareTo(row.value(node.field), node.literal);
    if (node.op == QLatin1String("="))
        return c == 0;
    if (node.op == QLatin1String("<>"))
        return c != 0;
    if (node.op == QLatin1String("<"))
        return c < 0;
    if (node.op == QLatin1String(">"))
        return c > 0;
    if (node.op == QLatin1String("<="))
        return c <= 0;
    return c >= 0;
}

}  // namespace

FilterExpr FilterExpr::parse(const QString& text, const std::function<int(const QString&)>& resolveField)
{
    FilterExpr expr;
    if (!text.trimmed().isEmpty())
        expr.root_ = Parser(text, resolveField).parseAll();
    return expr;
}

FilterExpr::FilterExpr() = default;
FilterExpr::~FilterExpr() = default;
FilterExpr::FilterExpr(FilterExpr&&) noexcept = default;
FilterExpr& FilterExpr::operator=(FilterExpr&&) noexcept = default;

bool FilterExpr::isEmpty() const { return !root_; }

bool FilterExpr::matches(const Row& row) const { return !root_ || evaluate(*root_, row); }

}  // namespace qmv
