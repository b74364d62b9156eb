#pragma once
// A private X display for tests that need real windows: Xvfb on a free display number, with
// openbox managing its windows (focus, activation and stacking as a person's desktop does them).
// Both programs end with the object, or with the test process if it dies first. Test process only.
#include <QSize>
#include <QString>
#include <sys/types.h>

namespace qmv::test {

class VirtualDisplay {
public:
    explicit VirtualDisplay(QSize size);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ready() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    QString name() const { return name_; }  // ":N", for DISPLAY

private:
    void startServer(QSize size);
    void startWindowManager();

    QString name_;
    QString error_;
    pid_t server_ = 0;
    pid_t windowManager_ = 0;
};

}  // namespace qmv::test
