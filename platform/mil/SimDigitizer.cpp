#include "SimDigitizer.h"

#include <algorithm>
#include <cmath>

namespace kavrino {

namespace {
constexpr auto kPollSlice = std::chrono::milliseconds(20);
}

SimDigitizer::SimDigitizer(MIL_ID system, std::shared_ptr<SimCamera> camera, int bits)
    : MilObject(Digitizer, system), m_camera(std::move(camera)), m_bits(bits) {
    m_width = m_camera->Config().sensorWidth;
    m_height = m_camera->Config().sensorHeight;
}

SimDigitizer::~SimDigitizer() {
    Halt();
    if (m_thread.joinable()) {
        if (OnGrabThread())
            m_thread.detach();
        else
            m_thread.join();
    }
}

bool SimDigitizer::OnGrabThread() const {
    return std::this_thread::get_id() == m_thread.get_id();
}

bool SimDigitizer::IsGrabbing() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_grabbing;
}

MIL_INT SimDigitizer::Inquire(MIL_INT64 type, MIL_INT& value, std::wstring& why) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    switch (type) {
    case M_SIZE_X:
        value = m_width;
        return kMilErrorNone;
    case M_SIZE_Y:
        value = m_height;
        return kMilErrorNone;
    case M_SOURCE_OFFSET_X:
        value = m_x;
        return kMilErrorNone;
    case M_SOURCE_OFFSET_Y:
        value = m_y;
        return kMilErrorNone;
    case M_SIZE_BIT:
        value = m_bits;
        return kMilErrorNone;
    default:
        why = L"unknown inquiry " + std::to_wstring(type);
        return kMilErrorInvalidParameter;
    }
}

MIL_INT SimDigitizer::Control(MIL_INT64 type, MIL_DOUBLE value, std::wstring& why) {
    if (type != M_SIZE_X && type != M_SIZE_Y && type != M_SOURCE_OFFSET_X && type != M_SOURCE_OFFSET_Y) {
        why = L"unknown control " + std::to_wstring(type);
        return kMilErrorInvalidParameter;
    }
    if (!std::isfinite(value) || std::floor(value) != value || value < 0 || value > 65536) {
        why = L"control " + std::to_wstring(type) + L" needs a whole number of pixels";
        return kMilErrorInvalidParameter;
    }
    const int v = static_cast<int>(value);
    const int sensorW = m_camera->Config().sensorWidth, sensorH = m_camera->Config().sensorHeight;
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool size = type == M_SIZE_X || type == M_SIZE_Y;
    if (size && m_grabbing) {
        why = L"the window size cannot change while grabbing";
        return kMilErrorBusy;
    }
    const bool horizontal = type == M_SIZE_X || type == M_SOURCE_OFFSET_X;
    const int newSize = size ? v : (horizontal ? m_width : m_height);
    const int newOffset = size ? (horizontal ? m_x : m_y) : v;
    const int limit = horizontal ? sensorW : sensorH;
    if (newSize < 1 || newOffset + newSize > limit) {
        why = std::wstring(L"a window of ") + (horizontal ? L"width " : L"height ") +
              std::to_wstring(newSize) + L" at offset " + std::to_wstring(newOffset) +
              L" leaves the sensor (" + std::to_wstring(limit) + L")";
        return kMilErrorWindow;
    }
    (horizontal ? m_width : m_height) = newSize;
    (horizontal ? m_x : m_y) = newOffset;
    return kMilErrorNone;
}

MIL_INT SimDigitizer::Hook(MIL_INT type, MIL_DIG_HOOK_FUNCTION_PTR function, void* user, std::wstring& why) {
    if ((type & ~M_UNHOOK) != M_GRAB_FRAME_END) {
        why = L"unknown hook type " + std::to_wstring(type);
        return kMilErrorInvalidParameter;
    }
    if (!function) {
        why = L"no hook function";
        return kMilErrorInvalidParameter;
    }
    // Waits for a hook call in progress on the grab thread, so no call follows a removal.
    std::lock_guard<std::recursive_mutex> lock(m_hookMutex);
    if (type & M_UNHOOK) {
        const auto it = std::find_if(m_hooks.begin(), m_hooks.end(), [&](const HookEntry& h) {
            return h.function == function && h.user == user;
        });
        if (it == m_hooks.end()) {
            why = L"the function is not hooked";
            return kMilErrorInvalidParameter;
        }
        m_hooks.erase(it);
    } else {
        m_hooks.push_back({function, user});
    }
    return kMilErrorNone;
}

MIL_INT SimDigitizer::Grab(std::shared_ptr<SimBuffer> buffer, std::wstring& why) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_grabbing) {
            why = L"the digitizer is already grabbing";
            return kMilErrorBusy;
        }
    }
    if (buffer->inUse.exchange(true)) {
        why = L"another digitizer grabs into the buffer";
        return kMilErrorBusy;
    }
    if (m_thread.joinable())
        m_thread.join(); // a grab halted from inside its own hook
    const SimCameraConfig& config = m_camera->Config();
    if (m_rendererBits != buffer->Bits()) {
        m_renderer.Configure(config.sensorWidth, config.sensorHeight, config.color, m_bits, buffer->Bits());
        m_rendererBits = buffer->Bits();
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = false;
        m_grabbing = true;
        m_buffer = buffer;
    }
    std::weak_ptr<std::condition_variable> wake = m_wake;
    m_camera->SetTriggerListener([wake] {
        if (auto cv = wake.lock())
            cv->notify_all();
    });
    m_camera->SetAcquiring(true);
    m_thread = std::thread(&SimDigitizer::Run, this, std::move(buffer));
    return kMilErrorNone;
}

void SimDigitizer::Halt() {
    std::shared_ptr<SimBuffer> buffer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_grabbing)
            return;
        m_stop = true;
        m_grabbing = false;
        buffer = std::move(m_buffer);
    }
    m_wake->notify_all();
    if (!OnGrabThread() && m_thread.joinable())
        m_thread.join();
    m_camera->SetTriggerListener(nullptr);
    m_camera->SetAcquiring(false);
    if (buffer)
        buffer->inUse = false;
}

SimDigitizer::WaitResult SimDigitizer::WaitForFrame(const SimImageSettings& s,
                                                    std::chrono::steady_clock::time_point& next,
                                                    std::uint64_t& triggersSeen) {
    using Clock = std::chrono::steady_clock;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_stop)
        return Stop;
    if (!s.acquiring) {
        m_wake->wait_for(lock, kPollSlice, [this] { return m_stop; });
        return m_stop ? Stop : Idle;
    }
    if (s.triggered) {
        if (!s.softwareSource) {
            // Nothing drives the CXP trigger or Line4 here: the camera waits.
            m_wake->wait_for(lock, kPollSlice, [this] { return m_stop; });
            return m_stop ? Stop : Idle;
        }
        m_wake->wait_for(lock, kPollSlice,
                         [&] { return m_stop || m_camera->SoftwareTriggers() != triggersSeen; });
        if (m_stop)
            return Stop;
        if (m_camera->SoftwareTriggers() == triggersSeen)
            return Idle;
        ++triggersSeen;
        next = Clock::now();
        return Frame;
    }
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / std::max(s.frameRate, 0.01)));
    const auto now = Clock::now();
    if (now < next) {
        m_wake->wait_until(lock, std::min(next, now + kPollSlice), [this] { return m_stop; });
        return m_stop ? Stop : Idle;
    }
    next += period;
    if (next + period < now)
        next = now; // fell behind (a rebuild or a slow hook): start the pacing again from now
    return Frame;
}

void SimDigitizer::Run(std::shared_ptr<SimBuffer> buffer) {
    SimImageSettings settings;
    std::uint64_t generation = 0, imageGeneration = 0;
    std::uint64_t triggersSeen = m_camera->SoftwareTriggers();
    auto next = std::chrono::steady_clock::now();
    const MIL_ID eventId = m_event ? m_event->Id() : 0;
    for (;;) {
        if (m_camera->Generation() != generation) {
            generation = m_camera->Generation();
            settings = m_camera->Snapshot();
        }
        const WaitResult result = WaitForFrame(settings, next, triggersSeen);
        if (result == Stop)
            break;
        if (result == Idle)
            continue;
        if (m_camera->ImageGeneration() != imageGeneration) {
            imageGeneration = m_camera->ImageGeneration();
            settings = m_camera->Snapshot();
            generation = m_camera->Generation();
            m_renderer.Rebuild(settings);
        }
        int x, y, w, h;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            x = m_x;
            y = m_y;
            w = m_width;
            h = m_height;
        }
        m_renderer.Deliver(x, y, w, h, buffer->Data(), buffer->Pitch(), buffer->Width(), buffer->Height());
        if (m_event)
            m_event->modifiedBuffer = buffer->Id();
        ++m_frames;
        std::lock_guard<std::recursive_mutex> lock(m_hookMutex);
        for (std::size_t i = 0; i < m_hooks.size(); ++i) {
            const HookEntry hook = m_hooks[i];
            hook.function(M_GRAB_FRAME_END, eventId, hook.user);
        }
    }
}

} // namespace kavrino
