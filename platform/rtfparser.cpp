#include "platform/rtfparser.h"

#include "platform/rtfcodepage.h"
#include "platform/rtftokenizer.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace qmv {
namespace {

constexpr int kMaxDepth = 256;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxTwips = 31680;  // 22 inches
constexpr qsizetype kMaxColumns = 63;  // as many as word processors allow in a row

enum class Dest {
    Text, Skip, FontTable, ColorTable, ListTable, List, ListLevel, LevelText,
    ListOverrideTable, ListOverride, Pn
};

struct CharState {
    int font = -1;  // -1: the document's default font
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strike = false;
    bool hidden = false;  // \v text is not shown
    int color = 0, background = 0;
    int vertical = 0;  // 1 superscript, -1 subscript
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    int align = 0;  // 0 left, 1 centre, 2 right, 3 justified
    int left = 0, right = 0, first = 0, before = 0, after = 0;  // twips
    int ls = 0, level = 0;
    bool inTable = false;  // \intbl: the paragraph belongs to a table cell
    int pnKind = 0;  // 1 bullet, 2 numbered (the older \pn paragraph numbering)
    int pnFormat = 0, pnLevel = 0;
};

struct Group {
    Dest dest = Dest::Text;
    bool startsDest = false;
    CharState chars;
    ParaState para;
    int uc = 1;
};

struct FontEntry {
    QString name;
    int codePage = 0;
};

// Control words that change how the following words and text are read.
enum class Kw {
    Unknown,
    // destinations
    FontTable, ColorTable, ListTable, List, ListLevel, LevelText, ListOverrideTable, ListOverride,
    Pn, SkipDest,
    // document
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin,
    // fonts and colours tables
    F, FCharset, Red, Green, Blue, LevelNfc, ListId, Ls,
    // characters
    Plain, Fs, B, I, V, Ul, UlNone, Strike, Cf, Cb, Highlight, Super, Sub, NoSuperSub, Up, Dn,
    // paragraphs
    Pard, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa, Ilvl, InTbl,
    // tables
    Trowd, Trleft, Cellx,
    PnLvlBlt, PnLvlBody, PnLvl, PnDec, PnUcLtr, PnLcLtr, PnUcRm, PnLcRm,
    // breaks and special characters
    Par, Line, Tab, Cell, Row, Char
};

struct KwInfo {
    Kw kw;
    char16_t ch = 0;  // Char: the character the word stands for
};

const std::unordered_map<std::string_view, KwInfo>& keywords()
{
    static const std::unordered_map<std::string_view, KwInfo> table = [] {
        std::unordered_map<std::string_view, KwInfo> t{
            {"fonttbl", {Kw::FontTable}}, {"colortbl", {Kw::ColorTable}},
            {"listtable", {Kw::ListTable}}, {"list", {Kw::List}}, {"listlevel", {Kw::ListLevel}},
            {"leveltext", {Kw::LevelText}}, {"listoverridetable", {Kw::ListOverrideTable}},
            {"listoverride", {Kw::ListOverride}}, {"pn", {Kw::Pn}},
            {"ansi", {Kw::Ansi}}, {"mac", {Kw::Mac}}, {"pc", {Kw::Pc}}, {"pca", {Kw::Pca}},
            {"ansicpg", {Kw::AnsiCpg}}, {"deff", {Kw::Deff}}, {"uc", {Kw::Uc}}, {"u", {Kw::U}},
            {"bin", {Kw::Bin}}, {"f", {Kw::F}}, {"fcharset", {Kw::FCharset}}, {"red", {Kw::Red}},
            {"green", {Kw::Green}}, {"blue", {Kw::Blue}}, {"levelnfc", {Kw::LevelNfc}},
            {"levelnfcn", {Kw::LevelNfc}}, {"listid", {Kw::ListId}}, {"ls", {Kw::Ls}},
            {"plain", {Kw::Plain}}, {"fs", {Kw::Fs}}, {"b", {Kw::B}}, {"i", {Kw::I}}, {"v", {Kw::V}},
            {"ul", {Kw::Ul}}, {"ulnone", {Kw::UlNone}}, {"strike", {Kw::Strike}},
            {"striked", {Kw::Strike}}, {"cf", {Kw::Cf}}, {"cb", {Kw::Cb}},
            {"highlight", {Kw::Highlight}}, {"chcbpat", {Kw::Cb}}, {"super", {Kw::Super}},
            {"sub", {Kw::Sub}}, {"nosupersub", {Kw::NoSuperSub}}, {"up", {Kw::Up}}, {"dn", {Kw::Dn}},
            {"pard", {Kw::Pard}}, {"intbl", {Kw::InTbl}}, {"trowd", {Kw::Trowd}}, {"trleft", {Kw::Trleft}},
            {"cellx", {Kw::Cellx}},
            {"ql", {Kw::Ql}}, {"qc", {Kw::Qc}}, {"qr", {Kw::Qr}}, {"qj", {Kw::Qj}},
            {"qd", {Kw::Qj}}, {"li", {Kw::Li}}, {"lin", {Kw::Li}}, {"ri", {Kw::Ri}},
            {"rin", {Kw::Ri}}, {"fi", {Kw::Fi}}, {"sb", {Kw::Sb}}, {"sa", {Kw::Sa}},
            {"ilvl", {Kw::Ilvl}}, {"pnlvlblt", {Kw::PnLvlBlt}}, {"pnlvlbody", {Kw::PnLvlBody}},
            {"pnlvl", {Kw::PnLvl}}, {"pndec", {Kw::PnDec}}, {"pnucltr", {Kw::PnUcLtr}},
            {"pnlcltr", {Kw::PnLcLtr}}, {"pnucrm", {Kw::PnUcRm}}, {"pnlcrm", {Kw::PnLcRm}},
            {"par", {Kw::Par}}, {"page", {Kw::Par}}, {"sect", {Kw::Par}}, {"line", {Kw::Line}},
            {"tab", {Kw::Tab}}, {"cell", {Kw::Cell}}, {"row", {Kw::Row}},
            // a table nested in a cell is read as lines of that cell, its cells apart by tabs
            {"nestcell", {Kw::Tab}}, {"nestrow", {Kw::Line}},
            {"lquote", {Kw::Char, 0x2018}}, {"rquote", {Kw::Char, 0x2019}},
            {"ldblquote", {Kw::Char, 0x201C}}, {"rdblquote", {Kw::Char, 0x201D}},
            {"bullet", {Kw::Char, 0x2022}}, {"endash", {Kw::Char, 0x2013}},
            {"emdash", {Kw::Char, 0x2014}}, {"enspace", {Kw::Char, 0x2002}},
            {"emspace", {Kw::Char, 0x2003}}, {"qmspace", {Kw::Char, 0x2005}},
            {"zwj", {Kw::Char, 0x200D}}, {"zwnj", {Kw::Char, 0x200C}},
            {"ltrmark", {Kw::Char, 0x200E}}, {"rtlmark", {Kw::Char, 0x200F}},
        };
        // Destinations whose content is never text of the document.
        for (std::string_view d :
             {"stylesheet", "info", "pict", "header", "headerl", "headerr", "headerf", "footer",
              "footerl", "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor",
              "xe", "tc", "txe", "rxe", "listtext", "pntext", "pntxta", "pntxtb", "nonshppict",
              "shprslt", "template", "revtbl", "rsidtbl", "themedata", "colorschememapping",
              "latentstyles", "datastore", "xmlnstbl", "generator", "filetbl", "author", "title",
              "subject", "keywords", "operator", "comment", "doccomm", "company", "category",
              "manager", "hlinkbase", "buptim", "creatim", "printim", "revtim", "userprops",
              "docvar", "fldinst", "bkmkstart", "bkmkend", "listname", "levelnumbers",
              "listpicture", "lfolevel", "nonesttables", "objdata", "objclass", "do", "falt",
              "panose", "mmathPr", "pgdsctbl", "private"})
            t.emplace(d, KwInfo{Kw::SkipDest});
        return t;
    }();
    return table;
}

class RtfParser {
public:
    RtfParser(const QByteArray& data, qsizetype start, RtfBuilder& builder)
        : tokens_(data, start), builder_(builder)
    {
    }

    void run();

private:
    Group& top() { return stack_.back(); }
    void openGroup();
    void closeGroup();
    void endDestination(const Group& closed);
    void onWord(const RtfToken& t);
    void onSymbol(char symbol);
    bool destinationWord(const KwInfo& info, bool ignorable);
    bool documentWord(Kw kw, const RtfToken& t);
    bool tableWord(Kw kw, const RtfToken& t);
    bool charWord(Kw kw, const RtfToken& t);
    bool paraWord(Kw kw, const RtfToken& t);
    bool pnWord(Kw kw, const RtfToken& t);
    bool breakWord(const KwInfo& info);
    bool rowWord(Kw kw, const RtfToken& t);
    void onText(std::string_view bytes);
    void onByte(char byte);
    void onChar(QChar c);
    bool consumeSkip();

    void commitFont();
    void commitColor();
    void flushText();
    void ensureBlock();
    void endParagraph();
    void placeCursor(bool inTable);
    void startTable();
    void moveToCell();
    void endCell();
    void endTable();
    void finish();
    void applyParagraph(const ParaState& para);
    void attachToList(const ParaState& para);
    RtfCharFormat charFormat(const CharState& state);
    const RtfCodePage& codePageOf(const CharState& state);

    RtfTokenizer tokens_;
    RtfBuilder& builder_;
    std::vector<Group> stack_;
    bool ignorableNext_ = false;
    int skip_ = 0;

    RtfCodePage docCodePage_;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    QHash<int, RtfCodePage> codePages_;
    QVector<std::optional<RtfColor>> colors_;

    // Tables being read.
    int fontIndex_ = -1;
    int fontCharset_ = -1;
    QByteArray destBytes_;
    QString destText_;
    int red_ = -1, green_ = -1, blue_ = -1;
    int levelFormat_ = 0;
    int listId_ = 0, overrideLs_ = 0;
    RtfListTable listTable_;

    // Document being written.
    CharState pendingFormat_;
    QByteArray pendingBytes_;
    QString pendingText_;
    bool paragraphClosed_ = false;
    // The table being read: its row and column, whether the current cell or row has ended (the
    // next content then opens the next one), and the cell boundaries of the row definition.
    bool inTable_ = false;
    int row_ = 0, column_ = 0, columns_ = 0;
    bool cellEnded_ = false, rowEnded_ = false;
    QVector<int> cellx_;
    int rowLeft_ = 0;
    CharState cachedState_;
    RtfCharFormat cachedFormat_;
    bool cacheValid_ = false;
};

void RtfParser::run()
{
    for (;;) {
        const RtfToken t = tokens_.next();
        switch (t.kind) {
        case RtfToken::End: finish(); return;
        case RtfToken::GroupStart: openGroup(); break;
        case RtfToken::GroupEnd:
            if (stack_.size() <= 1) {
                finish();
                return;
            }
            closeGroup();
            break;
        case RtfToken::Word: onWord(t); break;
        case RtfToken::Symbol: onSymbol(t.symbol); break;
        case RtfToken::HexByte:
            if (!consumeSkip())
                onByte(static_cast<char>(t.param));
            break;
        case RtfToken::Text: onText(t.word); break;
        }
    }
}

void RtfParser::openGroup()
{
    skip_ = 0;
    if (stack_.size() >= kMaxDepth)
        throw RtfError("RTF groups nested deeper than " + std::to_string(kMaxDepth) + " levels");
    Group g = stack_.empty() ? Group{} : top();
    g.startsDest = false;
    stack_.push_back(g);
}

void RtfParser::closeGroup()
{
    skip_ = 0;
    ignorableNext_ = false;
    if (stack_.empty())
        return;
    const Group closed = top();
    stack_.pop_back();
    if (closed.dest == Dest::FontTable)
        commitFont();
    if (closed.startsDest)
        endDestination(closed);
}

void RtfParser::endDestination(const Group& closed)
{
    switch (closed.dest) {
    case Dest::List: listTable_.endList(listId_); break;
    case Dest::ListLevel:
        listTable_.addLevel(levelFormat_, destText_);
        destText_.clear();
        break;
    case Dest::LevelText:
        destText_ += docCodePage_.decode(destBytes_);
        destBytes_.clear();
        break;
    case Dest::ListOverride: listTable_.addOverride(listId_, overrideLs_); break;
    case Dest::Pn:
        if (!stack_.empty()) {
            ParaState& para = top().para;
            para.pnKind = closed.para.pnKind;
            para.pnFormat = closed.para.pnFormat;
            para.pnLevel = closed.para.pnLevel;
        }
        break;
    default: break;
    }
}

void RtfParser::onWord(const RtfToken& t)
{
    const auto found = keywords().find(t.word);
    const KwInfo info = found == keywords().end() ? KwInfo{Kw::Unknown} : found->second;
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;
    if (info.kw == Kw::Bin) {  // binary data is skipped wherever it stands
        tokens_.skipBytes(t.param);
        return;
    }
    if (stack_.empty())
        return;
    if (destinationWord(info, ignorable) || top().dest == Dest::Skip)
        return;
    if (info.kw == Kw::U) {
        if (!consumeSkip()) {
            const int code = t.param < 0 ? t.param + 65536 : t.param;
            if (code > 0 && code <= 0xFFFF)
                onChar(QChar(static_cast<char16_t>(code)));
        }
        skip_ = top().uc;
        return;
    }
    if (consumeSkip())
        return;
    documentWord(info.kw, t) || tableWord(info.kw, t) || charWord(info.kw, t)
        || paraWord(info.kw, t) || pnWord(info.kw, t) || rowWord(info.kw, t) || breakWord(info);
}

void RtfParser::onSymbol(char symbol)
{
    if (symbol == '*') {
        ignorableNext_ = true;
        return;
    }
    if (stack_.empty() || top().dest == Dest::Skip || consumeSkip())
        return;
    switch (symbol) {
    case '\\': case '{': case '}': onByte(symbol); break;
    case '~': onChar(QChar(0x00A0)); break;
    case '-': onChar(QChar(0x00AD)); break;
    case '_': onChar(QChar(0x2011)); break;
    case '\n': breakWord({Kw::Par}); break;
    case '\t': onChar(u'\t'); break;
    default: break;
    }
}

bool RtfParser::destinationWord(const KwInfo& info, bool ignorable)
{
    Dest dest;
    switch (info.kw) {
    case Kw::FontTable: dest = Dest::FontTable; break;
    case Kw::ColorTable: dest = Dest::ColorTable; break;
    case Kw::ListTable: dest = Dest::ListTable; break;
    case Kw::List: dest = top().dest == Dest::ListTable ? Dest::List : Dest::Skip; break;
    case Kw::ListLevel: dest = top().dest == Dest::List ? Dest::ListLevel : Dest::Skip; break;
    case Kw::LevelText: dest = top().dest == Dest::ListLevel ? Dest::LevelText : Dest::Skip; break;
    case Kw::ListOverrideTable: dest = Dest::ListOverrideTable; break;
    case Kw::ListOverride:
        dest = top().dest == Dest::ListOverrideTable ? Dest::ListOverride : Dest::Skip;
        break;
    case Kw::Pn: dest = top().dest == Dest::Text ? Dest::Pn : Dest::Skip; break;
    case Kw::SkipDest: dest = Dest::Skip; break;
    default:
        if (!ignorable)
            return false;
        dest = Dest::Skip;
    }
    if (top().dest == Dest::Skip)
        return true;
    top().dest = dest;
    top().startsDest = true;
    if (dest == Dest::List)
        listTable_.beginList();
    if (dest == Dest::ListLevel || dest == Dest::LevelText) {
        destBytes_.clear();
        if (dest == Dest::ListLevel) {
            destText_.clear();
            levelFormat_ = 0;
        }
    }
    if (dest == Dest::ListOverride)
        listId_ = overrideLs_ = 0;
    return true;
}

bool RtfParser::documentWord(Kw kw, const RtfToken& t)
{
    switch (kw) {
    case Kw::Ansi: docCodePage_ = RtfCodePage(1252); return true;
    case Kw::Mac: docCodePage_ = RtfCodePage(10000); return true;
    case Kw::Pc: docCodePage_ = RtfCodePage(437); return true;
    case Kw::Pca: docCodePage_ = RtfCodePage(850); return true;
    case Kw::AnsiCpg: docCodePage_ = RtfCodePage(t.param); return true;
    case Kw::Deff: defaultFont_ = t.param; return true;
    case Kw::Uc: top().uc = std::clamp(t.param, 0, 16); return true;
    default: return false;
    }
}

bool RtfParser::tableWord(Kw kw, const RtfToken& t)
{
    const Dest dest = top().dest;
    if (dest == Dest::FontTable && (kw == Kw::F || kw == Kw::FCharset)) {
        if (kw == Kw::F) {
            commitFont();
            fontIndex_ = t.param;
        } else {
            fontCharset_ = t.param;
        }
        return true;
    }
    if (dest == Dest::ColorTable && (kw == Kw::Red || kw == Kw::Green || kw == Kw::Blue)) {
        const int v = std::clamp(t.param, 0, 255);
        (kw == Kw::Red ? red_ : kw == Kw::Green ? green_ : blue_) = v;
        return true;
    }
    if (dest == Dest::ListLevel && kw == Kw::LevelNfc) {
        levelFormat_ = t.param;
        return true;
    }
    if (dest == Dest::List && kw == Kw::ListId) {
        listId_ = t.param;
        return true;
    }
    if (dest == Dest::ListOverride && (kw == Kw::ListId || kw == Kw::Ls)) {
        (kw == Kw::ListId ? listId_ : overrideLs_) = t.param;
        return true;
    }
    return dest != Dest::Text && dest != Dest::Pn;  // other words of a table change nothing
}

bool RtfParser::charWord(Kw kw, const RtfToken& t)
{
    CharState& c = top().chars;
    const bool on = !t.hasParam || t.param != 0;
    switch (kw) {
    case Kw::Plain: c = CharState{}; return true;
    case Kw::F: c.font = t.param; return true;
    case Kw::Fs: c.halfPoints = t.hasParam ? std::clamp(t.param, 2, kMaxHalfPoints) : 24; return true;
    case Kw::B: c.bold = on; return true;
    case Kw::I: c.italic = on; return true;
    case Kw::Ul: c.underline = on; return true;
    case Kw::UlNone: c.underline = false; return true;
    case Kw::Strike: c.strike = on; return true;
    case Kw::V: c.hidden = on; return true;
    case Kw::Cf: c.color = t.param; return true;
    case Kw::Cb: case Kw::Highlight: c.background = t.param; return true;
    case Kw::Super: c.vertical = 1; return true;
    case Kw::Sub: c.vertical = -1; return true;
    case Kw::NoSuperSub: c.vertical = 0; return true;
    case Kw::Up: c.vertical = (t.hasParam && t.param == 0) ? 0 : 1; return true;
    case Kw::Dn: c.vertical = (t.hasParam && t.param == 0) ? 0 : -1; return true;
    default:
        if (t.word.size() > 2 && t.word.substr(0, 2) == "ul" && t.word != "ulc") {  // \uld, \ulw, \ulwave...
            c.underline = on;
            return true;
        }
        return false;
    }
}

bool RtfParser::paraWord(Kw kw, const RtfToken& t)
{
    ParaState& p = top().para;
    const int twips = std::clamp(t.param, -kMaxTwips, kMaxTwips);
    switch (kw) {
    case Kw::Pard: p = ParaState{}; return true;
    case Kw::Ql: p.align = 0; return true;
    case Kw::Qc: p.align = 1; return true;
    case Kw::Qr: p.align = 2; return true;
    case Kw::Qj: p.align = 3; return true;
    case Kw::Li: p.left = twips; return true;
    case Kw::Ri: p.right = twips; return true;
    case Kw::Fi: p.first = twips; return true;
    case Kw::Sb: p.before = std::max(0, twips); return true;
    case Kw::Sa: p.after = std::max(0, twips); return true;
    case Kw::Ls: p.ls = std::max(0, t.param); return true;
    case Kw::Ilvl: p.level = std::clamp(t.param, 0, 8); return true;
    case Kw::InTbl: p.inTable = !t.hasParam || t.param != 0; return true;
    default: return false;
    }
}

bool RtfParser::rowWord(Kw kw, const RtfToken& t)
{
    if (top().dest != Dest::Text)
        return false;
    if (kw == Kw::Trowd) {
        cellx_.clear();
        rowLeft_ = 0;
        return true;
    }
    if (kw == Kw::Trleft) {
        rowLeft_ = std::clamp(t.param, -kMaxTwips, kMaxTwips);
        return true;
    }
    if (kw == Kw::Cellx) {
        if (cellx_.size() < kMaxColumns)
            cellx_.append(std::clamp(t.param, 0, kMaxTwips));
        return true;
    }
    return false;
}

bool RtfParser::pnWord(Kw kw, const RtfToken& t)
{
    if (top().dest != Dest::Pn)
        return false;
    ParaState& p = top().para;
    switch (kw) {
    case Kw::PnLvlBlt: p.pnKind = 1; p.pnLevel = 0; return true;
    case Kw::PnLvlBody: p.pnKind = 2; p.pnLevel = 0; return true;
    case Kw::PnLvl: p.pnKind = 2; p.pnLevel = std::clamp(t.param - 1, 0, 8); return true;
    case Kw::PnDec: p.pnFormat = 0; return true;
    case Kw::PnUcRm: p.pnFormat = 1; return true;
    case Kw::PnLcRm: p.pnFormat = 2; return true;
    case Kw::PnUcLtr: p.pnFormat = 3; return true;
    case Kw::PnLcLtr: p.pnFormat = 4; return true;
    default: return true;
    }
}

bool RtfParser::breakWord(const KwInfo& info)
{
    if (top().dest != Dest::Text)
        return false;
    switch (info.kw) {
    case Kw::Par: endParagraph(); return true;
    case Kw::Cell: endCell(); return true;
    case Kw::Row:
        onChar(QChar());
        flushText();
        if (inTable_) {
            rowEnded_ = true;
            cellEnded_ = false;
        }
        return true;
    case Kw::Line: onChar(QChar(QChar::LineSeparator)); return true;
    case Kw::Tab: onChar(u'\t'); return true;
    case Kw::Char: onChar(QChar(info.ch)); return true;
    default: return false;
    }
}

bool RtfParser::consumeSkip()
{
    if (skip_ <= 0)
        return false;
    --skip_;
    return true;
}

void RtfParser::onText(std::string_view bytes)
{
    if (stack_.empty())
        return;
    while (!bytes.empty() && skip_ > 0) {
        bytes.remove_prefix(1);
        --skip_;
    }
    const Dest dest = top().dest;
    if (bytes.empty() || (dest == Dest::Text && top().chars.hidden))
        return;
    if (dest == Dest::Text && pendingFormat_ == top().chars) {
        pendingBytes_.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        return;
    }
    for (char b : bytes)
        onByte(b);
}

void RtfParser::onByte(char byte)
{
    if (stack_.empty())
        return;
    switch (top().dest) {
    case Dest::Text:
        if (top().chars.hidden)
            return;
        if (!(pendingFormat_ == top().chars)) {
            onChar(QChar());
            return onByte(byte);
        }
        pendingBytes_.append(byte);
        return;
    case Dest::FontTable:
        if (byte == ';')
            return commitFont();
        destBytes_.append(byte);
        return;
    case Dest::ColorTable:
        if (byte == ';')
            commitColor();
        return;
    case Dest::LevelText: destBytes_.append(byte); return;
    default: return;
    }
}

// A null character only brings the pending text in line with the current state.
void RtfParser::onChar(QChar c)
{
    if (stack_.empty())
        return;
    const Dest dest = top().dest;
    if (dest == Dest::FontTable || dest == Dest::LevelText) {
        destText_ += (dest == Dest::FontTable ? RtfCodePage(RtfCodePage::forCharset(fontCharset_))
                                              : docCodePage_).decode(destBytes_);
        destBytes_.clear();
        if (!c.isNull())
            destText_ += c;
        return;
    }
    if (dest != Dest::Text || (top().chars.hidden && !c.isNull()))
        return;
    if (!(pendingFormat_ == top().chars)) {
        flushText();
        pendingFormat_ = top().chars;
    }
    if (c.isNull())
        return;
    if (!pendingBytes_.isEmpty()) {
        pendingText_ += codePageOf(pendingFormat_).decode(pendingBytes_);
        pendingBytes_.clear();
    }
    pendingText_ += c;
}

void RtfParser::commitFont()
{
    const int codePage = RtfCodePage::forCharset(fontCharset_);
    destText_ += RtfCodePage(codePage).decode(destBytes_);
    destBytes_.clear();
    QString name = destText_.trimmed();
    destText_.clear();
    if (fontIndex_ >= 0 && !name.isEmpty()) {
        fonts_.insert(fontIndex_, FontEntry{name, codePage});
    }
    fontIndex_ = -1;
    fontCharset_ = -1;
}

void RtfParser::commitColor()
{
    const bool set = red_ >= 0 || green_ >= 0 || blue_ >= 0;
    colors_.append(set ? std::optional(RtfColor{std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)})
                       : std::nullopt);
    red_ = green_ = blue_ = -1;
}

const RtfCodePage& RtfParser::codePageOf(const CharState& state)
{
    const int font = state.font < 0 ? defaultFont_ : state.font;
    const auto entry = fonts_.constFind(font);
    if (entry == fonts_.constEnd() || entry->codePage == 0)
        return docCodePage_;
    auto page = codePages_.find(entry->codePage);
    if (page == codePages_.end())
        page = codePages_.insert(entry->codePage, RtfCodePage(entry->codePage));
    return *page;
}

RtfCharFormat RtfParser::charFormat(const CharState& s)
{
    if (cacheValid_ && cachedState_ == s)
        return cachedFormat_;
    RtfCharFormat f;
    const auto font = fonts_.constFind(s.font < 0 ? defaultFont_ : s.font);
    if (font != fonts_.constEnd())
        f.font = font->name;
    f.points = s.halfPoints / 2.0;
    f.bold = s.bold;
    f.italic = s.italic;
    f.underline = s.underline;
    f.strike = s.strike;
    if (s.color > 0 && s.color < colors_.size())
        f.color = colors_[s.color];
    if (s.background > 0 && s.background < colors_.size())
        f.background = colors_[s.background];
    f.vertical = s.vertical;
    cachedState_ = s;
    cachedFormat_ = f;
    cacheValid_ = true;
    return f;
}

void RtfParser::flushText()
{
    if (!pendingBytes_.isEmpty()) {
        pendingText_ += codePageOf(pendingFormat_).decode(pendingBytes_);
        pendingBytes_.clear();
    }
    // Control characters other than the tab (\'00, \u7...) are not text of the document.
    pendingText_.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
    if (pendingText_.isEmpty())
        return;
    placeCursor(top().para.inTable);
    ensureBlock();
    builder_.insertText(pendingText_, charFormat(pendingFormat_));
    pendingText_.clear();
}

void RtfParser::ensureBlock()
{
    if (!paragraphClosed_)
        return;
    paragraphClosed_ = false;
    builder_.insertParagraph(charFormat(pendingFormat_));
}

// A \par closes the paragraph it ends; the next paragraph begins only when something follows, so
// the closing \par of a document adds no empty paragraph.
void RtfParser::endParagraph()
{
    onChar(QChar());
    flushText();
    placeCursor(top().para.inTable);
    ensureBlock();
    applyParagraph(top().para);
    builder_.setParagraphCharFormat(charFormat(top().chars));
    paragraphClosed_ = true;
}

void RtfParser::finish()
{
    while (stack_.size() > 1)
        closeGroup();
    if (!stack_.empty()) {
        onChar(QChar());
        flushText();
        if (inTable_ && (cellEnded_ || rowEnded_))
            endTable();
        else if (!paragraphClosed_)
            applyParagraph(top().para);
    }
}

// Content of a table paragraph goes to the cell being read (opening the table, the next cell or
// the next row as they come); other content first leaves the table.
void RtfParser::placeCursor(bool inTable)
{
    if (!inTable) {
        if (inTable_)
            endTable();
        return;
    }
    if (!inTable_)
        return startTable();
    if (rowEnded_) {
        builder_.appendRow();
        ++row_;
        column_ = 0;
    } else if (cellEnded_) {
        column_ = std::min<int>(column_ + 1, kMaxColumns - 1);  // cells past the limit share the last
        if (column_ >= columns_) {
            builder_.appendColumn();
            ++columns_;
        }
    } else {
        return;
    }
    rowEnded_ = cellEnded_ = false;
    moveToCell();
}

// A table right after a closed paragraph follows it; in an empty paragraph it takes its place.
void RtfParser::startTable()
{
    columns_ = static_cast<int>(std::max<qsizetype>(1, cellx_.size()));
    QVector<int> widths;
    int left = rowLeft_;
    for (const int right : cellx_) {
        widths.append(std::max(1, right - left));
        left = right;
    }
    builder_.insertTable(columns_, widths);
    inTable_ = true;
    row_ = column_ = 0;
    rowEnded_ = cellEnded_ = false;
    moveToCell();
}

void RtfParser::moveToCell()
{
    builder_.moveToCell(row_, column_);
    paragraphClosed_ = false;
}

// \cell ends the cell's last paragraph, also in a cell with no text.
void RtfParser::endCell()
{
    onChar(QChar());
    flushText();
    placeCursor(true);
    ensureBlock();
    applyParagraph(top().para);
    builder_.setParagraphCharFormat(charFormat(top().chars));
    cellEnded_ = true;
}

void RtfParser::endTable()
{
    builder_.leaveTable();
    inTable_ = false;
    rowEnded_ = cellEnded_ = false;
    paragraphClosed_ = false;
}

void RtfParser::applyParagraph(const ParaState& p)
{
    const bool listed = p.ls > 0 || p.pnKind > 0;
    builder_.setParagraphFormat(RtfParaFormat{p.align, p.left, p.right, p.first, p.before, p.after, listed});
    if (listed)
        attachToList(p);
}

void RtfParser::attachToList(const ParaState& p)
{
    const bool modern = p.ls > 0;
    const int level = modern ? p.level : p.pnLevel;
    const RtfListStyle style = modern ? listTable_.style(p.ls, level)
                                      : (p.pnKind == 1 ? RtfListStyle::Disc
                                                       : RtfListTable::styleOf(p.pnFormat, QString()));
    if (style == RtfListStyle::None)
        return;
    const QString list = modern ? QStringLiteral("ls%1.%2").arg(p.ls).arg(level)
                                : QStringLiteral("pn%1.%2.%3").arg(p.pnKind).arg(int(style)).arg(level);
    builder_.addToList(RtfListItem{style, level, list});
}

qsizetype rtfStart(const QByteArray& data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf" ? i : -1;
}

}  // namespace

bool looksLikeRtf(const QByteArray& data) { return rtfStart(data) >= 0; }

QString decodePlainText(const QByteArray& data)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    return RtfCodePage(1252).decode(data);
}

QString plainTextLines(const QByteArray& data)
{
    QString text = decodePlainText(data);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    // NUL and the other control characters are no text, in a plain file as in RTF.
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; });
    return text;
}

void parseRtf(const QByteArray& data, RtfBuilder& builder)
{
    const qsizetype start = rtfStart(data);
    if (start < 0)
        throw RtfError("not RTF data");
    RtfParser(data, start, builder).run();
}

}  // namespace qmv
