#include "realwindow/virtualdisplay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qmv::test {

namespace {

constexpr int startTimeoutMs = 15000;

// Runs the program in a child that dies with this process; returns its pid, or 0.
pid_t spawn(const QList<QByteArray>& argv, int keepFd = -1)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid < 0 ? 0 : pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            close(fd);
    std::vector<char*> args;
    for (const QByteArray& a : argv)
        args.push_back(const_cast<char*>(a.constData()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

void stop(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        QThread::msleep(20);
    if (waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    pid = 0;
}

bool running(pid_t pid)
{
    return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0;
}

}  // namespace

VirtualDisplay::VirtualDisplay(QSize size)
{
    startServer(size);
    if (ready())
        startWindowManager();
}

VirtualDisplay::~VirtualDisplay()
{
    stop(windowManager_);
    stop(server_);
}

// Xvfb picks a free display number itself and writes it to the pipe once it accepts clients.
void VirtualDisplay::startServer(QSize size)
{
    int fds[2];
    if (pipe(fds) != 0) {
        error_ = QStringLiteral("pipe failed");
        return;
    }
    const QByteArray screen = QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()).toLatin1();
    server_ = spawn({"Xvfb", "-displayfd", QByteArray::number(fds[1]), "-screen", "0", screen,
                     "-nolisten", "tcp", "-dpi", "96"},
                    fds[1]);
    close(fds[1]);
    QByteArray number;
    pollfd wait{fds[0], POLLIN, 0};
    QElapsedTimer clock;
    clock.start();
    while (!number.endsWith('\n') && clock.elapsed() < startTimeoutMs) {
        if (poll(&wait, 1, 100) > 0) {
            char c = 0;
            if (read(fds[0], &c, 1) != 1)
                break;
            number += c;
        }
    }
    close(fds[0]);
    if (!number.endsWith('\n')) {
        error_ = QStringLiteral("Xvfb did not start (is the xvfb package installed?)");
        return;
    }
    name_ = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
}

// openbox runs its start-up command once it manages the screen; that command marks it ready.
void VirtualDisplay::startWindowManager()
{
    const QString mark = QDir::temp().filePath(QStringLiteral("qmv-openbox-%1").arg(getpid()));
    QFile::remove(mark);
    qputenv("DISPLAY", name_.toLatin1());
    windowManager_ = spawn({"openbox", "--startup", ("touch " + mark).toLocal8Bit()});
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(mark) && running(windowManager_) && clock.elapsed() < startTimeoutMs)
        QThread::msleep(50);
    const bool up = QFile::exists(mark);
    QFile::remove(mark);
    if (!up)
        error_ = QStringLiteral("openbox did not start (is the openbox package installed?)");
}

}  // namespace qmv::test
