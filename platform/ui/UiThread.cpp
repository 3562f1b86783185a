#include "UiThread.h"
#include "ThreadHandOver.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace kavrino {
namespace {

// What a waiting caller and the queued call share: set when the call has run or was discarded.
struct CallWait {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool ran = false;
};

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class CallEvent : public QEvent {
public:
    CallEvent(std::function<void()> work, std::shared_ptr<CallWait> wait)
        : QEvent(kCallEvent), m_work(std::move(work)), m_wait(std::move(wait)) {}
    // The waiter is released here, so a call that Qt discards without running (shut-down) never leaves
    // its caller waiting.
    ~CallEvent() override {
        TakeOver(this);
        if (m_wait) {
            std::lock_guard<std::mutex> lock(m_wait->mutex);
            m_wait->finished = true;
            m_wait->done.notify_all();
        }
    }
    void Run() {
        if (m_work)
            m_work();
        if (m_wait) {
            std::lock_guard<std::mutex> lock(m_wait->mutex);
            m_wait->ran = true;
        }
    }

private:
    std::function<void()> m_work;
    std::shared_ptr<CallWait> m_wait;
};

class Dispatcher : public QObject {
public:
    bool event(QEvent* e) override {
        TakeOver(e);
        if (e->type() == kCallEvent) {
            static_cast<CallEvent*>(e)->Run();
            return true;
        }
        return QObject::event(e);
    }
};

// Queues the call. Qt's queue synchronises out of the thread sanitizer's sight, so the event is handed
// over explicitly; whoever sees it first on the user-interface thread takes it over (the application's
// event filters come before the dispatcher).
void Post(CallEvent* event);

QObject* TheDispatcher() {
    static Dispatcher* dispatcher = [] {
        auto* d = new Dispatcher;
        if (QCoreApplication::instance())
            d->moveToThread(QCoreApplication::instance()->thread());
        return d;
    }();
    return dispatcher;
}

void Post(CallEvent* event) {
    // The dispatcher may be made by this very call, on this thread: it is handed over with the event.
    QObject* dispatcher = TheDispatcher();
    HandOver(event);
    QCoreApplication::postEvent(dispatcher, event);
}

} // namespace

bool IsUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

bool RunOnUiThread(const std::function<void()>& work) {
    if (IsUiThread()) {
        work();
        return true;
    }
    auto wait = std::make_shared<CallWait>();
    Post(new CallEvent(work, wait));
    std::unique_lock<std::mutex> lock(wait->mutex);
    wait->done.wait(lock, [&] { return wait->finished; });
    return wait->ran;
}

void PostToUiThread(std::function<void()> work) {
    if (!QCoreApplication::instance()) {
        work();
        return;
    }
    Post(new CallEvent(std::move(work), nullptr));
}

void ProcessUiEvents() {
    if (!QCoreApplication::instance() || !IsUiThread())
        return;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace kavrino
