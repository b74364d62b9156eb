#pragma once
// A screen's control, dataset or menu entry reached by its object name, as a test reaches what the
// form does not publish; a missing name fails the test. Test thread only.
#include <QObject>
#include <stdexcept>
#include <string>

namespace qmv::test {

template <typename T>
T* named(const QObject& root, const char* name)
{
    T* found = root.findChild<T*>(QLatin1String(name));
    if (!found)
        throw std::runtime_error(std::string("no object named ") + name);
    return found;
}

}  // namespace qmv::test
