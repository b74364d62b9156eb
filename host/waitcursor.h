#pragma once
// The host's wait cursor for the length of a scope: set on construction, back to the default on
// restore() or, at the latest, when the scope is left (an exception included). UI thread only.

namespace qmv {

class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void restore();

private:
    bool waiting_ = true;
};

}  // namespace qmv
