#include "appserver/database/walwritebatch.h"

#include <sqlite3.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace qmv::appserver {

namespace {

constexpr char kName[] = "qmv-wal-batch";
// A larger commit goes out in batches of this size.
constexpr int kBatchBytes = 1 << 20;
// Each batch is handed on in pieces no larger than SQLite's largest page: its own file system writes
// at most 128 KiB less one byte per call and takes a call that writes nothing for a full disk.
constexpr int kPieceBytes = 1 << 16;

sqlite3_vfs* root = nullptr;
sqlite3_vfs vfs;

// What SQLite allocates for an open file of ours: this head, then the real file's own object.
struct File {
    sqlite3_file base;
    sqlite3_file* real;
    bool batches;  // the log of a database
    char* data;     // kBatchBytes once the first write came
    int size;       // bytes gathered, written from `start` on
    sqlite3_int64 start;
};

File* self(sqlite3_file* file)
{
    return reinterpret_cast<File*>(file);
}

const sqlite3_io_methods& real(File* f)
{
    return *f->real->pMethods;
}

int flush(File* f)
{
    if (f->size == 0)
        return SQLITE_OK;
    const int size = f->size;
    f->size = 0;  // a failed write fails the transaction; its bytes are not tried again
    for (int done = 0; done < size; done += kPieceBytes)
        if (const int rc = real(f).xWrite(f->real, f->data + done, std::min(kPieceBytes, size - done), f->start + done);
            rc != SQLITE_OK)
            return rc;
    return SQLITE_OK;
}

// Every call but a write sees the log as if each write had gone out at once.
template <typename Call>
int flushed(sqlite3_file* file, Call call)
{
    File* f = self(file);
    if (const int rc = flush(f); rc != SQLITE_OK)
        return rc;
    return call(f->real, real(f));
}

int write(sqlite3_file* file, const void* bytes, int amount, sqlite3_int64 offset)
{
    File* f = self(file);
    if (!f->batches)
        return real(f).xWrite(f->real, bytes, amount, offset);
    const bool continues = f->size > 0 && offset == f->start + f->size && f->size + amount <= kBatchBytes;
    if (!continues) {
        if (const int rc = flush(f); rc != SQLITE_OK)
            return rc;
        if (amount > kPieceBytes)
            return real(f).xWrite(f->real, bytes, amount, offset);
        if (!f->data && !(f->data = static_cast<char*>(std::malloc(kBatchBytes))))
            return real(f).xWrite(f->real, bytes, amount, offset);
        f->start = offset;
    }
    std::memcpy(f->data + f->size, bytes, size_t(amount));
    f->size += amount;
    return SQLITE_OK;
}

int close(sqlite3_file* file)
{
    File* f = self(file);
    const int flushedRc = flush(f);
    std::free(f->data);
    f->data = nullptr;
    const int rc = real(f).xClose(f->real);
    return flushedRc != SQLITE_OK ? flushedRc : rc;
}

int read(sqlite3_file* file, void* out, int amount, sqlite3_int64 offset)
{
    return flushed(file, [&](sqlite3_file* r, const sqlite3_io_methods& m) { return m.xRead(r, out, amount, offset); });
}

int truncate(sqlite3_file* file, sqlite3_int64 size)
{
    return flushed(file, [&](sqlite3_file* r, const sqlite3_io_methods& m) { return m.xTruncate(r, size); });
}

int sync(sqlite3_file* file, int flags)
{
    return flushed(file, [&](sqlite3_file* r, const sqlite3_io_methods& m) { return m.xSync(r, flags); });
}

int fileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return flushed(file, [&](sqlite3_file* r, const sqlite3_io_methods& m) { return m.xFileSize(r, size); });
}

int lock(sqlite3_file* file, int level)
{
    return flushed(file, [&](sqlite3_file* r, const sqlite3_io_methods& m) { return m.xLock(r, level); });
}

int unlock(sqlite3_file* file, int level)
{
    return flushed(file, [&](sqlite3_file* r, const sqlite3_io_methods& m) { return m.xUnlock(r, level); });
}

int checkReservedLock(sqlite3_file* file, int* out)
{
    return flushed(file, [&](sqlite3_file* r, const sqlite3_io_methods& m) { return m.xCheckReservedLock(r, out); });
}

int fileControl(sqlite3_file* file, int op, void* arg)
{
    return flushed(file, [&](sqlite3_file* r, const sqlite3_io_methods& m) { return m.xFileControl(r, op, arg); });
}

int sectorSize(sqlite3_file* file)
{
    return real(self(file)).xSectorSize(self(file)->real);
}

int deviceCharacteristics(sqlite3_file* file)
{
    return real(self(file)).xDeviceCharacteristics(self(file)->real);
}

// The shared memory and the memory map belong to the database file, which never batches.
int shmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out)
{
    return real(self(file)).xShmMap(self(file)->real, region, size, extend, out);
}

int shmLock(sqlite3_file* file, int offset, int n, int flags)
{
    return real(self(file)).xShmLock(self(file)->real, offset, n, flags);
}

void shmBarrier(sqlite3_file* file)
{
    real(self(file)).xShmBarrier(self(file)->real);
}

int shmUnmap(sqlite3_file* file, int deleteFlag)
{
    return real(self(file)).xShmUnmap(self(file)->real, deleteFlag);
}

int fetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out)
{
    return real(self(file)).xFetch(self(file)->real, offset, amount, out);
}

int unfetch(sqlite3_file* file, sqlite3_int64 offset, void* page)
{
    return real(self(file)).xUnfetch(self(file)->real, offset, page);
}

// One table per version of the real file's methods, so SQLite asks of ours only what the real one has.
const sqlite3_io_methods* methodsLike(const sqlite3_io_methods& of)
{
    static const sqlite3_io_methods tables[3] = {
        {1, close, read, write, truncate, sync, fileSize, lock, unlock, checkReservedLock, fileControl,
         sectorSize, deviceCharacteristics, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {2, close, read, write, truncate, sync, fileSize, lock, unlock, checkReservedLock, fileControl,
         sectorSize, deviceCharacteristics, shmMap, shmLock, shmBarrier, shmUnmap, nullptr, nullptr},
        {3, close, read, write, truncate, sync, fileSize, lock, unlock, checkReservedLock, fileControl,
         sectorSize, deviceCharacteristics, shmMap, shmLock, shmBarrier, shmUnmap, fetch, unfetch},
    };
    return &tables[std::clamp(of.iVersion, 1, 3) - 1];
}

int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    File* f = self(file);
    f->base.pMethods = nullptr;
    f->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + sizeof(File));
    f->batches = (flags & SQLITE_OPEN_WAL) != 0;
    f->data = nullptr;
    f->size = 0;
    f->start = 0;
    const int rc = root->xOpen(root, name, f->real, flags, outFlags);
    if (f->real->pMethods)
        f->base.pMethods = methodsLike(*f->real->pMethods);
    return rc;
}

void registerVfs()
{
    root = sqlite3_vfs_find(nullptr);
    if (!root)
        throw std::runtime_error("SQLite has no default file system");
    vfs = *root;
    vfs.iVersion = std::min(root->iVersion, 3);
    vfs.szOsFile = int(sizeof(File)) + root->szOsFile;
    vfs.pNext = nullptr;
    vfs.zName = kName;
    vfs.pAppData = nullptr;
    vfs.xOpen = open;
    // The rest is the file system's own business: each call goes on to SQLite's own.
    vfs.xDelete = [](sqlite3_vfs*, const char* n, int s) { return root->xDelete(root, n, s); };
    vfs.xAccess = [](sqlite3_vfs*, const char* n, int f, int* o) { return root->xAccess(root, n, f, o); };
    vfs.xFullPathname = [](sqlite3_vfs*, const char* n, int s, char* o) { return root->xFullPathname(root, n, s, o); };
    vfs.xDlOpen = [](sqlite3_vfs*, const char* n) { return root->xDlOpen(root, n); };
    vfs.xDlError = [](sqlite3_vfs*, int s, char* o) { root->xDlError(root, s, o); };
    vfs.xDlSym = [](sqlite3_vfs*, void* h, const char* s) { return root->xDlSym(root, h, s); };
    vfs.xDlClose = [](sqlite3_vfs*, void* h) { root->xDlClose(root, h); };
    vfs.xRandomness = [](sqlite3_vfs*, int n, char* o) { return root->xRandomness(root, n, o); };
    vfs.xSleep = [](sqlite3_vfs*, int us) { return root->xSleep(root, us); };
    vfs.xCurrentTime = [](sqlite3_vfs*, double* o) { return root->xCurrentTime(root, o); };
    vfs.xGetLastError = [](sqlite3_vfs*, int n, char* o) { return root->xGetLastError(root, n, o); };
    if (vfs.iVersion >= 2)
        vfs.xCurrentTimeInt64 = [](sqlite3_vfs*, sqlite3_int64* o) { return root->xCurrentTimeInt64(root, o); };
    if (vfs.iVersion >= 3) {
        vfs.xSetSystemCall = [](sqlite3_vfs*, const char* n, sqlite3_syscall_ptr p) {
            return root->xSetSystemCall(root, n, p);
        };
        vfs.xGetSystemCall = [](sqlite3_vfs*, const char* n) { return root->xGetSystemCall(root, n); };
        vfs.xNextSystemCall = [](sqlite3_vfs*, const char* n) { return root->xNextSystemCall(root, n); };
    }
    if (sqlite3_vfs_register(&vfs, 0) != SQLITE_OK)
        throw std::runtime_error("cannot register SQLite's batched log writes");
}

}  // namespace

const char* walWriteBatchVfs()
{
    static std::once_flag once;
    std::call_once(once, registerVfs);
    return kName;
}

}  // namespace qmv::appserver
