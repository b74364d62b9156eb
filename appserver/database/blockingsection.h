#pragma once
// Marks a stretch in which the calling worker waits rather than computes (for the writer lock, for
// the disk to sync), so that another worker may run meanwhile. Does nothing off a worker thread.
namespace qmv::appserver {

class BlockingSection {
public:
    BlockingSection();
    ~BlockingSection();
    BlockingSection(const BlockingSection&) = delete;
    BlockingSection& operator=(const BlockingSection&) = delete;

private:
    bool counted_ = false;
};

}  // namespace qmv::appserver
