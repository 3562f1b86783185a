#pragma once
// The simulated CoaXPress digitizer: the grabbed window inside the camera's sensor, the grab hooks and
// the grab thread that renders each frame into the grab buffer, calls the hooks and paces itself to the
// camera's frame rate (or to its software triggers).

#include "MilObject.h"
#include "SimBuffer.h"
#include "SimCamera.h"
#include "SimFrameRenderer.h"
#include "SimGrabEvent.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kavrino {

class SimDigitizer : public MilObject {
public:
    SimDigitizer(MIL_ID system, std::shared_ptr<SimCamera> camera, int bits);
    ~SimDigitizer() override;

    SimCamera& Camera() { return *m_camera; }
    const std::shared_ptr<SimCamera>& CameraPtr() const { return m_camera; }
    void SetEvent(std::shared_ptr<SimGrabEvent> event) { m_event = std::move(event); }
    const std::shared_ptr<SimGrabEvent>& GetEvent() const { return m_event; }

    // Each returns kMilErrorNone or an error code with the reason in why.
    MIL_INT Inquire(MIL_INT64 type, MIL_INT& value, std::wstring& why) const;
    MIL_INT Control(MIL_INT64 type, MIL_DOUBLE value, std::wstring& why);
    MIL_INT Hook(MIL_INT type, MIL_DIG_HOOK_FUNCTION_PTR function, void* user, std::wstring& why);
    MIL_INT Grab(std::shared_ptr<SimBuffer> buffer, std::wstring& why);
    // Stops grabbing; returns after the last hook call has returned (from inside a hook: at once, and
    // that hook call is the last).
    void Halt();
    bool IsGrabbing() const;
    bool OnGrabThread() const;
    // Frames delivered since the digitizer was allocated.
    std::uint64_t Frames() const { return m_frames.load(); }

private:
    struct HookEntry {
        MIL_DIG_HOOK_FUNCTION_PTR function;
        void* user;
    };
    enum WaitResult { Stop, Frame, Idle };
    void Run(std::shared_ptr<SimBuffer> buffer);
    WaitResult WaitForFrame(const SimImageSettings& settings, std::chrono::steady_clock::time_point& next,
                            std::uint64_t& triggersSeen);

    std::shared_ptr<SimCamera> m_camera;
    std::shared_ptr<SimGrabEvent> m_event;
    const int m_bits;
    // Window, guarded by m_mutex.
    int m_x = 0, m_y = 0, m_width = 0, m_height = 0;
    mutable std::mutex m_mutex;
    // Shared with the camera's trigger listener, which may outlive a halt by one call.
    std::shared_ptr<std::condition_variable> m_wake = std::make_shared<std::condition_variable>();
    bool m_stop = false;
    bool m_grabbing = false;
    std::thread m_thread;
    std::shared_ptr<SimBuffer> m_buffer;
    std::recursive_mutex m_hookMutex;
    std::vector<HookEntry> m_hooks;
    SimFrameRenderer m_renderer;
    int m_rendererBits = 0;
    std::atomic<std::uint64_t> m_frames{0};
};

} // namespace kavrino
