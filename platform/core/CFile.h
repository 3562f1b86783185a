#pragma once
// The framework's binary file: opened with mode flags, written, moved in, closed. Paths are wide and
// stored on disk in UTF-8. While a CFile holds a file open for writing without a share flag, other
// CFile objects of this program cannot open it (an exclusive advisory lock), as on the original platform.
// Only regular files are opened: a directory, a pipe or a device is refused.

#include "CString.h"

class CFileException;

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040,
        modeNoTruncate = 0x10000,
        modeCreate = 0x1000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    ULONGLONG SeekToEnd();
    ULONGLONG Seek(LONGLONG offset, UINT from);
    // Writes all count bytes; false when the file is not open or the disk refused some of them.
    bool Write(const void* data, UINT count);
    UINT Read(void* data, UINT count);
    ULONGLONG GetLength() const;
    // Cuts or extends the file to newLength bytes; false when it is not open or cannot be changed.
    bool SetLength(ULONGLONG newLength);
    bool IsOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
