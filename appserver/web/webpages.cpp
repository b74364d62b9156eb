#include "appserver/web/webpages.h"

#include "platform/rtfhtml.h"

#include <QUrl>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

QString segment(const QString& code)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(code));
}

QString photoUrl(const char* kind, const SubGroupView& sg)
{
    return QString::fromLatin1(WebRoot) + u'/' + QLatin1String(kind) + u'/' + segment(sg.code) + u'/'
           + segment(sg.espeProd) + u'/' + QString::fromLatin1(sg.photoDigest);
}

QString itemList(const QString& heading, const QVector<LineItem>& items, const char* cssClass)
{
    if (items.isEmpty())
        return {};
    QString out = u"<section class=\""_s + QLatin1String(cssClass) + u"\"><h3>"_s + heading + u"</h3><ul>"_s;
    for (const LineItem& item : items) {
        out += u"<li><span class=\"qty\">"_s + htmlEscaped(item.quantity) + u' ' + htmlEscaped(item.unit)
               + u"</span> "_s + htmlEscaped(item.name);
        if (item.recipe)
            out += u" <span class=\"tag\">receita</span>"_s;
        if (!item.note.isEmpty())
            out += u" <span class=\"note\">"_s + htmlEscaped(item.note) + u"</span>"_s;
        out += u"</li>"_s;
    }
    return out + u"</ul></section>"_s;
}

QString fact(const QString& name, const QString& value)
{
    return value.isEmpty() ? QString() : u"<dt>"_s + name + u"</dt><dd>"_s + htmlEscaped(value) + u"</dd>"_s;
}

}  // namespace

QString servicePath(const ServiceRef& ref)
{
    QString path = QString::fromLatin1(WebRoot);
    for (const QString* code : {&ref.branch, &ref.company, &ref.manual, &ref.service, &ref.serviceClass, &ref.cycle})
        path += u'/' + segment(*code);
    return path;
}

QByteArray webPage(const QString& title, const QString& body, const QString& back)
{
    QString html = uR"(<!doctype html>
<html lang="pt-BR"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>)"_s + htmlEscaped(title) + uR"(</title>
<link rel="stylesheet" href="/manual/recursos/view.css">
</head><body>
<header class="bar">)"_s;
    if (!back.isEmpty())
        html += u"<a class=\"back\" href=\""_s + htmlEscaped(back) + u"\">&#8249; Voltar</a>"_s;
    html += u"<h1>"_s + htmlEscaped(title) + u"</h1></header>\n"_s + body
            + u"\n<script src=\"/manual/recursos/view.js\"></script>\n</body></html>\n"_s;
    return html.toUtf8();
}

QString choiceList(const QString& heading, const QVector<Choice>& choices, const QString& base)
{
    QString out = u"<main class=\"choices\"><h2>"_s + htmlEscaped(heading) + u"</h2>"_s;
    if (choices.isEmpty())
        out += u"<p class=\"empty\">Nada cadastrado.</p>"_s;
    out += u"<ul>"_s;
    for (const Choice& c : choices) {
        QString path = base;
        for (const QString& part : c.code.split(u'/'))
            path += u'/' + segment(part);
        out += u"<li><a href=\""_s + htmlEscaped(path) + u"\">"_s + htmlEscaped(c.label) + u"</a></li>"_s;
    }
    return out + u"</ul></main>"_s;
}

QString subGroupArticle(const SubGroupView& sg)
{
    QString out = u"<article class=\"subgroup\" data-code=\""_s + htmlEscaped(sg.code) + u"\">"_s;
    if (sg.photoDigest.isEmpty())
        out += u"<div class=\"photo none\">Sem foto</div>"_s;
    else
        out += u"<div class=\"photo\"><img src=\""_s + photoUrl("miniaturas", sg) + u"\" data-full=\""_s
               + photoUrl("fotos", sg) + u"\" alt=\"Foto de "_s + htmlEscaped(sg.name) + u"\"></div>"_s;
    out += u"<div class=\"text\"><h2><span class=\"order\">"_s + htmlEscaped(sg.order) + u"</span> "_s
           + htmlEscaped(sg.name) + u"</h2>"_s;
    if (!sg.description.isEmpty())
        out += u"<p class=\"description\">"_s + htmlEscaped(sg.description) + u"</p>"_s;
    if (sg.instructionsUnreadable)
        out += u"<p class=\"unreadable\">As instruções de montagem gravadas não puderam ser lidas.</p>"_s;
    else if (!sg.instructionsHtml.isEmpty())
        out += u"<div class=\"instructions\">"_s + sg.instructionsHtml + u"</div>"_s;
    out += itemList(u"Equipamentos"_s, sg.equipment, "equipment");
    out += itemList(u"Produtos e receitas"_s, sg.products, "products");
    const QString facts = fact(u"Código"_s, sg.treeCode) + fact(u"Sub-grupo principal"_s, sg.principal)
                          + fact(u"Peso"_s, sg.weight) + fact(u"Comentário"_s, sg.comment)
                          + fact(u"Aprovação"_s, sg.approved) + fact(u"Efetivação"_s, sg.effective)
                          + fact(u"Revisão"_s, sg.revised);
    if (!facts.isEmpty())
        out += u"<dl class=\"facts\">"_s + facts + u"</dl>"_s;
    return out + u"</div></article>"_s;
}

QString serviceBody(const ServiceRef& ref, const ServiceView& service)
{
    QString out = uR"(<div class="controls"><p class="where">)"_s + htmlEscaped(service.company) + u" &#183; "_s
                  + htmlEscaped(service.manual) + uR"(</p>
<button id="auto" type="button">Exibição automática</button>
<label>a cada <input id="interval" type="number" min="1" max="120" value="2"> s</label></div>
<main id="subgroups" data-base=")"_s + htmlEscaped(servicePath(ref)) + u"\">"_s;
    if (service.subGroups.isEmpty())
        out += u"<p class=\"empty\">Este serviço não tem sub-grupos.</p>"_s;
    for (const SubGroupView& sg : service.subGroups)
        out += subGroupArticle(sg) + u'\n';
    return out + uR"(</main>
<nav id="stepper" hidden><button id="prev" type="button" aria-label="Anterior">&#8249;</button>
<span id="position"></span><button id="pause" type="button">Pausar</button>
<button id="leave" type="button">Sair</button><button id="next" type="button" aria-label="Próximo">&#8250;</button></nav>)"_s;
}

QString signInBody(const QString& message)
{
    QString out = u"<main class=\"signin\"><form method=\"post\" action=\"/manual/entrar\">"_s;
    if (!message.isEmpty())
        out += u"<p class=\"error\">"_s + htmlEscaped(message) + u"</p>"_s;
    return out + uR"(<label for="chave">Chave de acesso</label>
<input id="chave" name="chave" type="password" autocomplete="current-password" required>
<button type="submit">Entrar</button></form></main>)"_s;
}

QString messageBody(const QString& message)
{
    return u"<main class=\"message\"><p>"_s + htmlEscaped(message) + u"</p></main>"_s;
}

}  // namespace qmv::appserver
