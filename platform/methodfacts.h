#pragma once
// The remote methods of the server object as both sides know them: each one's name, the kinds
// of its positional arguments and which of them names the branch it reads or writes. Written once:
// the client checks what it sends against it before sending, the server's catalogue takes each
// method's argument count from it, and access keys are checked against its branch arguments. Whether a
// method only reads is wire::onlyReads (wire.h). Constant data; any thread.
#include <QStringView>

#include <span>
#include <string_view>

namespace qmv::wire {

// A text may also be one of the caller's variables passed by reference: it travels as a text.
enum class ArgumentKind : char { Text = 'T', Integer = 'I', ChangeSet = 'C' };

struct MethodFacts {
    QStringView name;
    // One letter per positional argument, in order: an ArgumentKind, or R (W) for the text naming
    // the branch the method reads (writes), which access keys are checked against.
    std::string_view arguments;

    qsizetype argumentCount() const { return qsizetype(arguments.size()); }
    ArgumentKind argument(qsizetype index) const
    {
        const char letter = arguments[size_t(index)];
        return letter == 'R' || letter == 'W' ? ArgumentKind::Text : ArgumentKind(letter);
    }
    // The index of the argument naming the branch read (written), -1 for none.
    int branchRead() const { return indexOf('R'); }
    int branchWritten() const { return indexOf('W'); }
    // Set... methods: the branches written are those of the change set's rows.
    bool writesChangeSet() const { return indexOf('C') >= 0; }

private:
    int indexOf(char letter) const
    {
        const size_t at = arguments.find(letter);
        return at == std::string_view::npos ? -1 : int(at);
    }
};

// Every method of the server object, in a fixed order.
std::span<const MethodFacts> remoteMethods();
// The method's facts, or nullptr for a name the server object does not have.
const MethodFacts* methodFacts(QStringView name);

}  // namespace qmv::wire
