#pragma once
// The printed manual: a cover (company, manual, branch, date of emission), a table of contents with
// page numbers, then each service in code order and each of its sub-groups in classification order
// with what the options include, under a header naming the service and above a footer with the
// manual's name and the page number. Laid out for one paged device (a PDF writer or a printer) in
// that device's resolution. Photos stay compressed until their page is painted, so a long manual
// holds only its photos' bytes. UI thread only (text layout and fonts).
#include <QDate>
#include <QList>
#include <QString>
#include <memory>

#include "qmv01200/emissiondata.h"

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

namespace qmv {

// What to print; the sub-group's code, name, print description, loading value, observation and
// classification order are always printed.
struct EmissionOptions {
    bool wholeManual = true;  // false: only the selected service
    bool photos = true;
    bool instructions = true;
    bool equipment = true;
    bool products = true;
    bool dates = true;  // the three dates and the principal sub-group
};

class ManualDocument {
public:
    ManualDocument(ManualHeader manual, EmissionOptions options, QDate emittedOn);
    ~ManualDocument();
    ManualDocument(const ManualDocument&) = delete;
    ManualDocument& operator=(const ManualDocument&) = delete;

    const ManualHeader& manual() const { return manual_; }
    void addService(const ServiceHeader& service, ServiceContent content);

    // Lays everything out for the device's page and resolution; returns the number of pages.
    int layout(QPagedPaintDevice& device);
    int pageCount() const;
    // The title of the service a page (from 0) belongs to; empty for the cover and the contents.
    QString serviceOfPage(int page) const;
    // Paints one page (from 0) with a painter active on the device of the last layout.
    void paintPage(QPainter& painter, int page) const;

private:
    struct Service {
        ServiceHeader header;
        ServiceContent content;
    };
    struct Layout;

    void buildBody();
    void buildContents(int contentPages);
    void paintCover(QPainter& painter) const;
    void paintFrame(QPainter& painter, int page) const;

    ManualHeader manual_;
    EmissionOptions options_;
    QDate emittedOn_;
    QList<Service> services_;
    std::unique_ptr<Layout> laid_;
};

}  // namespace qmv
