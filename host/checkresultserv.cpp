#include "host/checkresultserv.h"

#include "host/abort.h"
#include "host/ui.h"

namespace qmv {

namespace {

QString failureText(const RemoteResult& result, int code)
{
    QString text = result.error.trimmed();
    if (text.isEmpty())
        text = QStringLiteral("O servidor de aplicação informou uma falha sem descrição.");
    if (code != 0)
        text += QStringLiteral(" (código %1)").arg(code);
    return text;
}

}  // namespace

QCborValue CheckResultServ(const RemoteResult& result, bool abort, int code)
{
    if (result.ok)
        return result.encodedPayload.isEmpty() ? result.payload : QCborValue::fromCbor(result.encodedPayload);
    ui().showError(failureText(result, code));
    if (abort)
        throw Abort();
    return {};
}

}  // namespace qmv
