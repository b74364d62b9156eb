#pragma once
// SQLite writes a commit to its log one frame at a time, two writes per page (the frame's head, then
// the page): a photo's commit is some eighty system calls, each of them taking the file system's inode
// path. This SQLite file system gathers the log's writes in memory while each one continues the last
// and hands them to the file in one write before anything else touches the log: before its sync (a
// commit is on the disk when it returns, as before), a read, a size, a truncation, a lock or its close.
// Every other file, and every other call, goes straight to SQLite's own file system.
// The connections opened through it must keep `synchronous` at FULL or EXTRA, so that every commit
// syncs the log before other connections can see it. Any thread; registered once per process.
namespace qmv::appserver {

// The name to open a database with ("vfs=" of a URI file name), registered on first use.
const char* walWriteBatchVfs();

}  // namespace qmv::appserver
