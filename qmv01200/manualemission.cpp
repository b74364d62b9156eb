#include "qmv01200/manualemission.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "host/menserro.h"
#include "qmv01200/emissionsource.h"

namespace qmv {

// The painter and, for a PDF, the writer over the temporary file that becomes the chosen file.
struct ManualEmission::Output {
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
};

namespace {

QPageLayout a4Portrait()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 12, 15, 12),
                       QPageLayout::Millimeter);
}

}  // namespace

ManualEmission::ManualEmission(EmissionSource& source, ManualSelection selection, EmissionOptions options,
                               QDate emittedOn)
    : source_(source), selection_(std::move(selection)), options_(options), emittedOn_(emittedOn)
{
}

ManualEmission::~ManualEmission()
{
    if (state_ != State::Done)
        cancel();
}

void ManualEmission::toPdf(const QString& path)
{
    target_ = Target::Pdf;
    path_ = path;
}

void ManualEmission::toDevice(QPagedPaintDevice& device)
{
    target_ = Target::Device;
    device_ = &device;
}

bool ManualEmission::step()
{
    if (state_ == State::Done || state_ == State::Abandoned)
        return false;
    try {
        return advance();
    } catch (...) {
        cancel();
        throw;
    }
}

bool ManualEmission::advance()
{
    switch (state_) {
    case State::Start:
        readManual();
        return true;
    case State::Services:
        readService();
        return true;
    case State::Layout:
        startPages();
        return state_ != State::Done;
    case State::Pages:
        paintNextPage();
        return state_ != State::Done;
    case State::Done:
    case State::Abandoned:
        break;
    }
    return false;
}

void ManualEmission::cancel()
{
    if (state_ == State::Done || state_ == State::Abandoned)
        return;
    state_ = State::Abandoned;
    if (output_ && output_->file)
        output_->file->cancelWriting();
    if (output_ && output_->painter.isActive())
        output_->painter.end();
    output_.reset();  // the temporary file goes with it
}

void ManualEmission::report(int done, const QString& text)
{
    const int services = document_ ? int(document_->manual().services.size()) : 1;
    progress_ = {done, 1 + services + std::max(pages_, 1), text};
}

void ManualEmission::readManual()
{
    report(0, QStringLiteral("Lendo o manual %1...").arg(selection_.manual));
    document_ = std::make_unique<ManualDocument>(source_.manual(selection_, options_.wholeManual), options_,
                                                 emittedOn_);
    state_ = document_->manual().services.isEmpty() ? State::Layout : State::Services;
    report(1, QStringLiteral("Manual %1 lido.").arg(document_->manual().manualName));
}

void ManualEmission::readService()
{
    const ServiceHeader service = document_->manual().services.at(nextService_);
    report(1 + nextService_, QStringLiteral("Lendo o serviço %1 (%2 de %3)")
                                 .arg(service.title())
                                 .arg(nextService_ + 1)
                                 .arg(document_->manual().services.size()));
    document_->addService(service, source_.service(selection_, service));
    if (++nextService_ == document_->manual().services.size())
        state_ = State::Layout;
}

void ManualEmission::startPages()
{
    if (target_ == Target::None) {
        state_ = State::Done;
        return;
    }
    output_ = std::make_unique<Output>();
    QPagedPaintDevice* device = device_;
    if (target_ == Target::Pdf) {
        output_->file = std::make_unique<QSaveFile>(path_);
        if (!output_->file->open(QIODevice::WriteOnly))
            MensErro(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                         .arg(QFileInfo(path_).fileName(), output_->file->errorString()),
                     true);
        output_->writer = std::make_unique<QPdfWriter>(output_->file.get());
        output_->writer->setResolution(96);
        output_->writer->setPageLayout(a4Portrait());
        output_->writer->setTitle(document_->manual().manualName);
        output_->writer->setCreator(QStringLiteral("QMV01200 - Emissão do Manual"));
        device = output_->writer.get();
    }
    pages_ = document_->layout(*device);
    if (!output_->painter.begin(device))
        MensErro(QStringLiteral("Não foi possível iniciar a impressão do manual."), true);
    state_ = State::Pages;
    nextPage_ = 0;
}

void ManualEmission::paintNextPage()
{
    const QString service = document_->serviceOfPage(nextPage_);
    report(1 + int(document_->manual().services.size()) + nextPage_,
           service.isEmpty() ? QStringLiteral("Escrevendo a capa e o sumário (página %1 de %2)").arg(nextPage_ + 1).arg(pages_)
                             : QStringLiteral("Escrevendo o serviço %1 (página %2 de %3)")
                                   .arg(service)
                                   .arg(nextPage_ + 1)
                                   .arg(pages_));
    if (nextPage_ > 0) {
        QPagedPaintDevice* device = output_->writer ? output_->writer.get() : device_;
        if (!device->newPage())
            MensErro(QStringLiteral("Não foi possível continuar a impressão do manual."), true);
    }
    document_->paintPage(output_->painter, nextPage_);
    if (++nextPage_ == pages_)
        finish();
}

void ManualEmission::finish()
{
    output_->painter.end();
    if (output_->file && !output_->file->commit()) {
        const QString error = output_->file->errorString();
        output_.reset();
        MensErro(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(QFileInfo(path_).fileName(), error),
                 true);
    }
    output_.reset();
    state_ = State::Done;
    report(progress_.total, QStringLiteral("Manual emitido: %1 página(s).").arg(pages_));
}

}  // namespace qmv
