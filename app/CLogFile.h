#pragma once
// The program's log: narrow text lines appended to one file. The file is opened, appended to and closed
// again for every line, so every line reaches the disk on its own and nothing stays open in between.

#include "Platform.h"
#include "CFile.h"

class CLogFile : public CFile {
public:
    CLogFile() = default;
    ~CLogFile() override;

    CString GetLogPath() const { return m_strPath; }
    // The folder of the running program.
    CString GetExeDir() const;
    // Appends the start banner; FALSE when the file cannot be opened.
    BOOL Start();
    // Appends one line: the optional timestamp prefix, the formatted text (at most 1023 bytes), "\r\n".
    // FALSE, with nothing written, when the file cannot be opened.
    BOOL Write(bool bTimestamp, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

    CString m_strPath;

private:
    BOOL OpenForAppend();
};
