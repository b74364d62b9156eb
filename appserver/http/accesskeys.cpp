#include "appserver/http/accesskeys.h"

#include "platform/methodfacts.h"

#include <QCborMap>
#include <QFile>

namespace qmv::appserver {

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype shortestKey = 16;

QString argumentText(const QCborArray& args, int index)
{
    return index >= 0 && index < args.size() ? args.at(index).toString() : QString();
}

// The CDFILIAL values of every row of a change set argument.
QSet<QString> changeSetBranches(const QCborArray& args)
{
    QSet<QString> branches;
    const QCborMap changes = args.isEmpty() ? QCborMap() : args.at(0).toMap();
    const QCborArray fields = changes.value(u"fields"_s).toArray();
    qsizetype column = -1;
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (fields.at(i).toMap().value(u"name"_s).toString().compare(u"CDFILIAL"_s, Qt::CaseInsensitive) == 0)
            column = i;
    if (column < 0)
        return branches;
    for (const QCborValue& change : changes.value(u"changes"_s).toArray())
        for (const char* row : {"original", "current"}) {
            const QCborValue values = change.toMap().value(QLatin1String(row));
            if (values.isArray())
                branches.insert(values.toArray().at(column).toString());
        }
    return branches;
}

}  // namespace

AccessKeys AccessKeys::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AccessKeyError("cannot read the access-key file " + path.toStdString() + ": "
                             + file.errorString().toStdString());
    try {
        return parse(file.readAll());
    } catch (const AccessKeyError& error) {
        throw AccessKeyError(path.toStdString() + ": " + error.what());
    }
}

AccessKeys::Branches AccessKeys::branchList(const QString& text, int line)
{
    Branches branches;
    if (text == u"*") {
        branches.all = true;
    } else if (text != u"-") {
        for (const QString& code : text.split(u','))
            if (code.isEmpty() || code.size() > 4)
                throw AccessKeyError("access-key file, line " + std::to_string(line) + ": bad branch code '"
                                     + code.toStdString() + "'");
            else
                branches.codes.insert(code);
    }
    return branches;
}

AccessKeys AccessKeys::parse(const QByteArray& text)
{
    AccessKeys keys;
    int number = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++number;
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
        const auto bad = [&](const std::string& why) {
            return AccessKeyError("access-key file, line " + std::to_string(number) + ": " + why);
        };
        if (parts.size() < 3 || parts.size() > 4 || !parts[1].startsWith(u"read=") || !parts[2].startsWith(u"write=")
            || (parts.size() == 4 && parts[3] != u"metrics"))
            throw bad("expected '<key> read=<branches> write=<branches> [metrics]'");
        if (parts[0].size() < shortestKey)
            throw bad("a key needs at least " + std::to_string(shortestKey) + " characters");
        if (keys.grants_.contains(parts[0]))
            throw bad("the key appears twice");
        keys.grants_.insert(parts[0], Grant{branchList(parts[1].mid(5), number), branchList(parts[2].mid(6), number),
                                            parts.size() == 4});
    }
    if (keys.grants_.isEmpty())
        throw AccessKeyError("the access-key file holds no key");
    return keys;
}

bool AccessKeys::readsMetrics(const std::string& key) const
{
    const auto grant = grants_.constFind(QString::fromStdString(key));
    return !key.empty() && grant != grants_.constEnd() && grant->metrics;
}

std::optional<QString> AccessKeys::refusal(const std::string& key, const QString& method, const QCborArray& args) const
{
    const auto grant = grants_.constFind(QString::fromStdString(key));
    if (key.empty() || grant == grants_.constEnd())
        return u"Chave de acesso ausente ou desconhecida."_s;
    const wire::MethodFacts* facts = wire::methodFacts(method);
    const int read = facts ? facts->branchRead() : -1;
    const int write = facts ? facts->branchWritten() : -1;
    const bool changeSet = facts && facts->writesChangeSet();
    // Runs before the arguments are checked: a branch "code" may be megabytes long.
    const auto deny = [&](const QString& how, const QString& branch) {
        const QString shown = branch.size() > 8 ? branch.left(8) + u'…' : branch;
        return u"A chave de acesso não permite %1 a filial %2 (%3)."_s.arg(how, shown, method);
    };
    const bool writes = write >= 0 || changeSet;
    if (read >= 0 && !grant->read.reaches(argumentText(args, read)))
        return deny(u"ler"_s, argumentText(args, read));
    if (write >= 0 && !grant->write.reaches(argumentText(args, write)))
        return deny(u"gravar"_s, argumentText(args, write));
    if (changeSet)
        for (const QString& branch : changeSetBranches(args))
            if (!grant->write.reaches(branch))
                return deny(u"gravar"_s, branch);
    if (writes ? !grant->write.any() : !grant->read.any())
        return u"A chave de acesso não permite %1 dados (%2)."_s.arg(writes ? u"gravar"_s : u"ler"_s, method);
    return std::nullopt;
}

bool AccessKeys::reads(const std::string& key, const QString& branch) const
{
    const auto grant = grants_.constFind(QString::fromStdString(key));
    if (key.empty() || grant == grants_.constEnd())
        return false;
    return branch.isEmpty() ? grant->read.any() : grant->read.reaches(branch);
}

}  // namespace qmv::appserver
