// The web view's requests, as the router hands them over: the first byte picks sign-in (POST) or a
// page (GET) and whether keys are required; then the path below /manual/, the cookie header and the
// body, one per line. Pages are read from the demo database on a worker, as the server reads them.
// A page that ends in the server's error answer (an input the web view let through to a failure) is
// a finding, as is anything the sanitizers see.
#include "appserver/database/workerpool.h"
#include "fuzz/demodatabase.h"
#include "appserver/web/website.h"
#include "http/router.h"

#include <cstdio>
#include <cstdlib>
#include <future>

using namespace qmv::appserver;

namespace {

WorkerPool* pool = nullptr;
qmv::http::Router* open = nullptr;    // keys not required
qmv::http::Router* keyed = nullptr;   // keys required

qmv::http::Router* routerFor(WebSite& site)
{
    auto* router = new qmv::http::Router;
    site.addRoutes(*router);
    return router;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const DbConfig config = qmv::fuzz::demoDatabase(argc, argv);
    static std::mutex writeLock;
    pool = new WorkerPool(config, 1, &writeLock, QStringLiteral("fuzz-web"));
    const auto failed = [](const QString& line) {
        std::fprintf(stderr, "web view failure: %s\n", qPrintable(line));
        std::abort();
    };
    const auto reads = [](const std::string& key, const QString& branch) {
        return key == "chave-de-teste-0001-0123456789" && branch == QStringLiteral("0001");
    };
    open = routerFor(*new WebSite(WebAccess{reads, false, failed}));
    keyed = routerFor(*new WebSite(WebAccess{reads, true, failed}));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const QList<QByteArray> lines = rest.split('\n');
    qmv::http::HttpRequest request;
    request.method = data[0] & 1 ? "POST" : "GET";
    request.path = request.method == "POST" ? std::string("/manual/entrar") : "/manual/" + lines.value(0).toStdString();
    if (lines.size() > 1)
        request.headers.emplace_back("cookie", lines[1].toStdString());
    request.body = lines.size() > 2 ? rest.mid(lines[0].size() + lines[1].size() + 2) : QByteArray();
    request.peer = "192.0.2.7";
    const qmv::http::Router& router = data[0] & 2 ? *keyed : *open;
    std::promise<int> done;
    pool->enqueue([&] {
        try {
            done.set_value(router.route(request).status);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "web view threw: %s\n", error.what());
            std::abort();
        }
    });
    const int status = done.get_future().get();
    if (status >= 500) {
        std::fprintf(stderr, "web view answered %d\n", status);
        std::abort();
    }
    return 0;
}
