// Stored rich text as HTML for the web view: the formatting that survives, and hostile text, font
// names and colours that must come out as text or numbers, never as markup.
#include "platform/rtfhtml.h"
#include "platform/rtfparser.h"

#include <gtest/gtest.h>

namespace qmv {
namespace {

struct Case {
    const char* name;
    const char* stored;
    const char* html;
};

const Case kCases[] = {
    {"plain text lines", "Arroz & feijão\r\n\r\nFim", "<p>Arroz &amp; feijão</p><p><br></p><p>Fim</p>"},
    {"bold italic underline", R"({\rtf1 A {\b B}{\i C}{\ul D}{\strike E}\par})",
     "<p>A <b>B</b><i>C</i><u>D</u><s>E</s></p>"},
    {"raised and lowered", R"({\rtf1 m{\super 2} H{\sub 2}O\par})", "<p>m<sup>2</sup> H<sub>2</sub>O</p>"},
    {"font size and colours as numbers",
     R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;\red999\green1\blue2;}\f0\fs36\cf1\cb2 X\par})",
     "<p><span style=\"font-family:'Arial';font-size:1.50em;color:rgb(255,0,0);"
     "background-color:rgb(255,1,2);\">X</span></p>"},
    {"alignment and indents", R"({\rtf1\pard\qc\li300\fi-150\sb150 T\par})",
     "<p style=\"text-align:center;margin-top:10px;margin-left:20px;text-indent:-10px;\">T</p>"},
    {"line break and hidden text", R"({\rtf1 a\line b{\v secreto}\par})", "<p>a<br>b</p>"},
    {"bulleted then numbered list",
     R"({\rtf1{\*\listtable{\list{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;}}\listid1}{\list{\listlevel\levelnfc0{\leveltext\'02\'00.;}}\listid2}})"
     R"({\*\listoverridetable{\listoverride\listid1\ls1}{\listoverride\listid2\ls2}})"
     R"(\pard\ls1 a\par b\par\pard\ls2 c\par\pard x\par\pard\ls2 d\par})",
     "<ul style=\"list-style-type:disc;\"><li>a</li><li>b</li></ul>"
     "<ol style=\"list-style-type:decimal;\"><li>c</li></ol><p>x</p>"
     "<ol style=\"list-style-type:decimal;\" start=\"2\"><li>d</li></ol>"},
    {"table with widths and a cell of two paragraphs",
     R"({\rtf1 Antes\par\trowd\cellx1500\cellx3000\pard\intbl\b Item\b0\cell\pard\intbl 1\par 2\cell\row)"
     R"(\trowd\cellx1500\cellx3000\pard\intbl A\cell\pard\intbl\cell\row\pard Depois\par})",
     "<p>Antes</p><table><colgroup><col style=\"width:100px\"><col style=\"width:100px\"></colgroup>"
     "<tr><td><p><b>Item</b></p></td><td><p>1</p><p>2</p></td></tr>"
     "<tr><td><p>A</p></td><td><p><br></p></td></tr></table><p>Depois</p>"},
    {"hostile text", R"({\rtf1 '"><script>alert(1)</script> <img src=x onerror=alert(2)>\par})",
     "<p>&#39;&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt; &lt;img src=x onerror=alert(2)&gt;</p>"},
    {"hostile font name",
     R"({\rtf1{\fonttbl{\f0 '"><script>x</script>;}}\f0 t\par})",
     "<p><span style=\"font-family:'\\27 \\22 \\3e \\3c script\\3e x\\3c \\2f script\\3e ';\">t</span></p>"},
    {"hostile colour table", R"({\rtf1{\colortbl;"><img onerror=alert(3)>\red1;}\cf1 c\par})",
     "<p><span style=\"color:rgb(1,0,0);\">c</span></p>"},
    {"hostile plain text", "<b onclick=\"x\">", "<p>&lt;b onclick=&quot;x&quot;&gt;</p>"},
};

TEST(RtfToHtml, WritesFormattingAndEscapesEverythingStored)
{
    for (const Case& c : kCases)
        EXPECT_EQ(rtfToHtml(QByteArray(c.stored)).toStdString(), c.html) << c.name;
}

TEST(RtfToHtml, EmptyStaysEmptyAndMalformedThrows)
{
    EXPECT_TRUE(rtfToHtml(QByteArray()).isEmpty());
    QByteArray deep("{\\rtf1 ");
    deep += QByteArray(300, '{');
    EXPECT_THROW(rtfToHtml(deep), RtfError);
}

}  // namespace
}  // namespace qmv
