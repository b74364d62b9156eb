#pragma once
// The positional arguments of one remote call as they travel: one CBOR array, encoded once by the
// caller, either from a value tree or written straight from the arguments (so a change set's photo is
// copied once, into the request). Plain value; any thread.
#include <QByteArray>
#include <QCborArray>

namespace qmv {

class CallArguments {
public:
    CallArguments();  // no arguments
    CallArguments(const QCborArray& args);  // NOLINT(google-explicit-constructor): calls pass arrays
    static CallArguments encoded(QByteArray cbor);  // bytes of a CBOR array, written by the caller

    const QByteArray& cbor() const { return cbor_; }
    // The array again, for whoever looks into a call (tests, a recording transport).
    QCborArray decoded() const;

private:
    explicit CallArguments(QByteArray cbor, bool);
    QByteArray cbor_;
};

}  // namespace qmv
