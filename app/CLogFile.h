#pragma once
// The program's log: narrow text lines appended to one file. The file is opened, appended to and closed
// again for every line, so every line reaches the disk on its own and nothing stays open in between.
// The file is kept in the Korean code page (CP949), as the station's other tools read it: callers pass
// this platform's narrow text (UTF-8, as CT2A gives it), which is converted on writing.

#include "Platform.h"
#include "CFile.h"

#include <string>

class CLogFile : public CFile {
public:
    CLogFile() = default;
    ~CLogFile() override;

    CString GetLogPath() const { return m_strPath; }
    // The folder of the running program.
    CString GetExeDir() const;
    // Appends the start banner; FALSE when the file cannot be opened or written.
    BOOL Start();
    // Appends one line: the optional timestamp prefix, the formatted text (at most 1023 bytes in the
    // file's code page, a character it cannot hold written as '?'), "\r\n".
    // FALSE, with nothing written, when the file cannot be opened (a folder, a pipe or a device is
    // none); FALSE too when the disk does not take the whole line.
    BOOL Write(bool bTimestamp, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

    CString m_strPath;

private:
    BOOL OpenForAppend();
    bool Append(const std::string& bytes);
};
