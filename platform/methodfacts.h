#pragma once
// The remote methods of the server object as both sides know them: each one's name and the kinds
// of its positional arguments. Written once: the client checks what it sends against it before
// sending, and the server's catalogue takes each method's argument count from it. Whether a
// method only reads is wire::onlyReads (wire.h). Constant data; any thread.
#include <QStringView>

#include <span>
#include <string_view>

namespace qmv::wire {

// A text may also be one of the caller's variables passed by reference: it travels as a text.
enum class ArgumentKind : char { Text = 'T', Integer = 'I', ChangeSet = 'C' };

struct MethodFacts {
    QStringView name;
    std::string_view arguments;  // one ArgumentKind letter per positional argument, in order

    qsizetype argumentCount() const { return qsizetype(arguments.size()); }
    ArgumentKind argument(qsizetype index) const { return ArgumentKind(arguments[size_t(index)]); }
};

// Every method of the server object, in a fixed order.
std::span<const MethodFacts> remoteMethods();
// The method's facts, or nullptr for a name the server object does not have.
const MethodFacts* methodFacts(QStringView name);

}  // namespace qmv::wire
