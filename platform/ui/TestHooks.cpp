#include "TestHooks.h"

#include "UiInternal.h"
#include "UiThread.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace kavrino {

std::size_t WindowCount() {
    return WindowRegistry::Instance().Count();
}

DWORD GetImeConversionStatus(HWND hwnd) {
    return WithWindow(hwnd, DWORD(0), [](WindowState& s) { return s.imeConversion; });
}

DWORD GetImeSentenceStatus(HWND hwnd) {
    return WithWindow(hwnd, DWORD(0), [](WindowState& s) { return s.imeSentence; });
}

MessageBoxRecorder::MessageBoxRecorder(int answer) : m_answer(answer) {
    SetMessageBoxHandler([this](const CString& text, const CString& caption, UINT type) {
        int delayMs = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_boxes.push_back({text, caption, type});
            delayMs = m_open == 0 ? m_delayMs : 0;
        }
        if (delayMs > 0) {
            // The box's own modal loop, as a real box runs it until the operator answers.
            ++m_open;
            QEventLoop loop;
            QTimer::singleShot(delayMs, &loop, &QEventLoop::quit);
            loop.exec();
            --m_open;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxHandler(nullptr);
}

void MessageBoxRecorder::SetAnswer(int answer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answer = answer;
}

void MessageBoxRecorder::SetAnswerDelay(int milliseconds) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_delayMs = milliseconds;
}

std::vector<MessageBoxRecorder::Box> MessageBoxRecorder::Boxes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes;
}

std::vector<CString> MessageBoxRecorder::Texts() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<CString> texts;
    for (const Box& b : m_boxes)
        texts.push_back(b.text);
    return texts;
}

size_t MessageBoxRecorder::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes.size();
}

void MessageBoxRecorder::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_boxes.clear();
}

FileDialogAnswer::FileDialogAnswer(const CString& path) : m_path(path) {
    SetFileDialogHandler([this](FileDialogRequest& request) {
        m_requests.push_back(request);
        if (m_path.IsEmpty())
            return false;
        request.path = m_path;
        return true;
    });
}

FileDialogAnswer::~FileDialogAnswer() {
    SetFileDialogHandler(nullptr);
}

ModalDialogScope::ModalDialogScope(ModalDialogHook hook) {
    SetModalDialogHook(std::move(hook));
}

ModalDialogScope::~ModalDialogScope() {
    SetModalDialogHook(nullptr);
}

bool PumpUntil(const std::function<bool()>& condition, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        if (condition())
            return true;
        ProcessUiEvents();
        QThread::msleep(2);
    }
    return condition();
}

} // namespace kavrino
