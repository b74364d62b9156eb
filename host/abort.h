#pragma once
// The host's abort exception: ends the current event. MensErro throws it after showing its text;
// a silent abort (a refused insert, a before-event that says no) throws it with nothing shown.
#include <exception>

namespace qmv {

class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "operation aborted"; }
};

}  // namespace qmv
