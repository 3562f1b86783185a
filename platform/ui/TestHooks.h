#pragma once
// Hooks that let tests answer message boxes, file dialogs and modal dialogs without a person, and the
// recorders built on them. With no hook set, real Qt dialogs are shown.

#include "CString.h"
#include "UiDefs.h"

#include <functional>
#include <mutex>
#include <vector>

class CDialog;

namespace kavrino {

// Every message box goes here when set: returns the button (IDOK, IDYES, ...). Called on the
// user-interface thread. Gives back the handler set before, so that a test may show real boxes for a
// while and then hand its boxes back to the recorder that had them.
using MessageBoxHandler = std::function<int(const CString& text, const CString& caption, UINT type)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

struct FileDialogRequest {
    bool open = true;         // open (TRUE) or save dialog
    CString defaultExtension; // as the caller gave it
    CString fileName;         // initial file name
    DWORD flags = 0;
    CString filter; // "LOG File (*.log)|*.log|"
    CString initialDir;
    CString path; // the chosen full path (set by the handler)
};
// Every file dialog goes here when set: fills request.path and returns true for OK, false for Cancel.
using FileDialogHandler = std::function<bool(FileDialogRequest& request)>;
void SetFileDialogHandler(FileDialogHandler handler);

// Called once a modal dialog has been initialised and shown, before its loop runs; the hook may press
// its buttons or call EndDialog, in which case DoModal returns without waiting.
using ModalDialogHook = std::function<void(CDialog* dialog)>;
void SetModalDialogHook(ModalDialogHook hook);

// The number of windows that exist now (for tests that check that nothing is left behind).
std::size_t WindowCount();

// The input-method conversion status last set for the window's context (0 when none was set).
DWORD GetImeConversionStatus(HWND hwnd);
DWORD GetImeSentenceStatus(HWND hwnd);

// Records every message box while it lives and answers each with the given button. Thread-safe.
class MessageBoxRecorder {
public:
    struct Box {
        CString text;
        CString caption;
        UINT type;
    };
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void SetAnswer(int answer);
    // Answers each box only after a modal loop has run for this long with the box open, as an operator
    // who reads it first: timers, posted messages and other threads' calls to the user interface go on
    // meanwhile. A box that comes while one is held open is answered at once. 0 (the default) answers
    // every box at once.
    void SetAnswerDelay(int milliseconds);
    std::vector<Box> Boxes() const;
    std::vector<CString> Texts() const;
    size_t Count() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<Box> m_boxes;
    int m_answer;
    int m_delayMs = 0;
    int m_open = 0; // boxes held open (user-interface thread only)
};

// Answers every file dialog while it lives: with the given path (OK), or Cancel for an empty path.
class FileDialogAnswer {
public:
    explicit FileDialogAnswer(const CString& path);
    ~FileDialogAnswer();
    FileDialogAnswer(const FileDialogAnswer&) = delete;
    FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;

    void SetPath(const CString& path) { m_path = path; }
    const std::vector<FileDialogRequest>& Requests() const { return m_requests; }

private:
    CString m_path;
    std::vector<FileDialogRequest> m_requests;
};

// Runs the hook for modal dialogs while it lives.
class ModalDialogScope {
public:
    explicit ModalDialogScope(ModalDialogHook hook);
    ~ModalDialogScope();
    ModalDialogScope(const ModalDialogScope&) = delete;
    ModalDialogScope& operator=(const ModalDialogScope&) = delete;
};

// Pumps user-interface events until the condition holds or the attempts run out (each attempt processes
// pending events and sleeps briefly); returns the condition's last value. For tests that wait for a worker
// thread's effect without blocking the user-interface thread.
bool PumpUntil(const std::function<bool()>& condition, int attempts = 2000);

} // namespace kavrino
