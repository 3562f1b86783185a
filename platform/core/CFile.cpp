#include "CFile.h"
#include "StringConv.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::~CFile() {
    Close();
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException*) {
    Close();
    if (!fileName || !*fileName)
        return FALSE;
    int flags = O_CLOEXEC;
    if (openFlags & modeReadWrite)
        flags |= O_RDWR;
    else if (openFlags & modeWrite)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    if (openFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(openFlags & modeNoTruncate))
            flags |= O_TRUNC;
    }
    const std::string path = kavrino::WideToUtf8(fileName);
    // Opened without waiting: a pipe named in a file's place would otherwise hold the program until
    // another one opened its other end.
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK, 0644);
    if (fd < 0)
        return FALSE;
    // Only a regular file: a pipe or a device (/dev/zero, /dev/null) would block or swallow what is
    // written to it while every write seemed to succeed.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return FALSE;
    }
    const bool writing = (openFlags & (modeWrite | modeReadWrite)) != 0;
    if (writing && !(openFlags & shareDenyNone) && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return FALSE;
    }
    m_fd = fd;
    return TRUE;
}

void CFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd); // also releases the lock
        m_fd = -1;
    }
}

ULONGLONG CFile::SeekToEnd() {
    return Seek(0, end);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    if (m_fd < 0)
        return 0;
    const int whence = from == end ? SEEK_END : (from == current ? SEEK_CUR : SEEK_SET);
    const off_t pos = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    return pos < 0 ? 0 : static_cast<ULONGLONG>(pos);
}

bool CFile::Write(const void* data, UINT count) {
    if (m_fd < 0)
        return false;
    const auto* p = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t n = ::write(m_fd, p, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        count -= static_cast<UINT>(n);
    }
    return true;
}

UINT CFile::Read(void* data, UINT count) {
    if (m_fd < 0)
        return 0;
    ssize_t n;
    do {
        n = ::read(m_fd, data, count);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? 0 : static_cast<UINT>(n);
}

ULONGLONG CFile::GetLength() const {
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return 0;
    return static_cast<ULONGLONG>(info.st_size);
}

bool CFile::SetLength(ULONGLONG newLength) {
    if (m_fd < 0)
        return false;
    int result;
    do {
        result = ::ftruncate(m_fd, static_cast<off_t>(newLength));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}
