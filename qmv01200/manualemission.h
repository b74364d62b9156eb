#pragma once
// One emission of the manual, done a step at a time so that the window stays responsive between
// steps: it reads the manual's services, then each service (one step each), lays the document out
// and paints it a page per step on a PDF file or a printer. A PDF goes to a temporary file beside the
// chosen one and takes its name only once complete: cancelling, or a failure at any step, leaves no
// file under that name. UI thread only.
#include <QDate>
#include <QString>
#include <memory>

#include "qmv01200/manualdocument.h"

class QPagedPaintDevice;

namespace qmv {

class EmissionSource;

struct EmissionProgress {
    int done = 0;
    int total = 1;
    QString text;  // what is being done, naming the service
};

class ManualEmission {
public:
    enum class Target { None, Pdf, Device };

    ManualEmission(EmissionSource& source, ManualSelection selection, EmissionOptions options,
                   QDate emittedOn = QDate::currentDate());
    ~ManualEmission();
    ManualEmission(const ManualEmission&) = delete;
    ManualEmission& operator=(const ManualEmission&) = delete;

    // Where the document goes; without a target the emission stops once everything has been read
    // (for a print preview, which paints the document itself). Before the first step.
    void toPdf(const QString& path);
    void toDevice(QPagedPaintDevice& device);

    // Runs the next step; false once the emission is complete. Throws what the source throws
    // (qmv::Abort after a failed server call) and MensErro's abort when the file cannot be written;
    // the emission is then abandoned, as by cancel().
    bool step();
    // Stops and discards what was written; nothing is left under the chosen name.
    void cancel();
    bool finished() const { return state_ == State::Done; }
    bool abandoned() const { return state_ == State::Abandoned; }

    EmissionProgress progress() const { return progress_; }
    ManualDocument* document() { return document_.get(); }

private:
    enum class State { Start, Services, Layout, Pages, Done, Abandoned };
    struct Output;

    bool advance();
    void readManual();
    void readService();
    void startPages();
    void paintNextPage();
    void finish();
    void report(int done, const QString& text);

    EmissionSource& source_;
    ManualSelection selection_;
    EmissionOptions options_;
    QDate emittedOn_;
    Target target_ = Target::None;
    QString path_;
    QPagedPaintDevice* device_ = nullptr;
    State state_ = State::Start;
    std::unique_ptr<ManualDocument> document_;
    std::unique_ptr<Output> output_;
    int nextService_ = 0;
    int nextPage_ = 0;
    int pages_ = 0;
    EmissionProgress progress_;
};

}  // namespace qmv
