#pragma once
// A desktop of its own for the program: an X server (Xvfb) on a display number it picks itself, a window
// manager (openbox) and the program on Qt's xcb platform. The program is driven only through the X server,
// with key presses and mouse clicks made by XTest as a keyboard and a mouse make them, and watched through
// the window manager's list of windows and screenshots. Waits poll with generous limits; nothing here
// measures how long anything takes.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace desktop {

using WindowId = unsigned long;

// Polls the condition until it holds or the limit (seconds) is reached; returns its last value.
bool WaitUntil(const std::function<bool()>& condition, int seconds);

class DesktopSession {
public:
    // Starts the X server and the window manager; Error() says what failed. Logs and screenshots go to
    // outputDir.
    explicit DesktopSession(const std::string& outputDir);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    bool Started() const { return m_display != nullptr; }
    const std::string& Error() const { return m_error; }
    QSize ScreenSize() const;

    // The program, started in workDir with its standard error written to a file.
    bool StartProgram(const std::string& program, const std::string& workDir);
    bool ProgramRunning();
    // Waits for the program to end; false when it is still running at the limit.
    bool WaitForExit(int seconds, int* exitStatus, bool* signalled);
    std::string ProgramErrors() const;

    // Top-level windows the window manager shows, by title.
    WindowId FindWindow(const QString& title) const;
    WindowId WaitForWindow(const QString& title, int seconds = 60) const;
    bool WaitForWindowGone(const QString& title, int seconds = 60) const;
    QStringList WindowTitles() const;
    // The window's client area in screen coordinates (empty for a window that is gone).
    QRect ClientRect(WindowId window) const;
    // The window's outer frame (title bar and borders) in screen coordinates, as the window manager draws it.
    QRect FrameRect(WindowId window) const;
    WindowId ActiveWindow() const;
    // Asks the window manager to activate the window (as a click on its task-bar entry) and waits for it.
    bool Activate(WindowId window, int seconds = 30) const;
    // A round trip through the program that owns the window: true once the program has handled every
    // event the X server sent it before, exposures of what a closed window uncovered among them, and what
    // it drew in answer has reached the screen. It is the window manager's ping, which Qt answers on the
    // user-interface thread in turn with the other events; false when no answer comes.
    bool Sync(WindowId window, int seconds = 60) const;

    // Input through the X server.
    void MoveMouse(QPoint screen) const;
    void Click(WindowId window, QPoint client) const;
    void DoubleClick(WindowId window, QPoint client) const;
    void ClickScreen(QPoint screen) const;
    void Drag(QPoint fromScreen, QPoint toScreen, int steps = 10) const;
    // A key or a combination: "Return", "space", "End", "alt+F4", "ctrl+a".
    void Key(const std::string& combination) const;
    // Types plain ASCII text as single key presses (shift where a character needs it).
    void Type(const std::string& text) const;

    // The whole screen as it is now; Shot also writes it to the output folder as <name>.png.
    QImage Screen() const;
    QImage Shot(const std::string& name) const;

private:
    pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                const std::string& dir, const std::string& logFile, int keepFd = -1);
    std::vector<std::string>
    Environment(const std::vector<std::pair<std::string, std::string>>& overrides) const;
    std::vector<WindowId> ClientList() const;
    QString Title(WindowId window) const;
    void Pause(int milliseconds) const;
    // The left button pressed, held and released where the pointer is.
    void PressAndRelease(int holdMilliseconds) const;

    std::string m_outputDir;
    std::string m_error;
    std::string m_displayName;
    void* m_display = nullptr; // Display*
    // A connection of its own for Sync, which listens to the root window for the programs' answers.
    void* m_syncDisplay = nullptr;
    mutable long m_lastPing = 0;
    pid_t m_server = 0;
    pid_t m_windowManager = 0;
    pid_t m_program = 0;
    int m_programStatus = 0;
    bool m_programEnded = false;
    std::string m_programErrors;
    std::string m_home;
};

// The number of pixels that differ between two pictures inside a rectangle.
int DifferentPixels(const QImage& a, const QImage& b, const QRect& area);

} // namespace desktop
