#pragma once
// Shared set-up of the imaging-library tests: a fresh library for each test, configuration files in a
// temporary folder, a connected digitizer and the grabbing of single frames.

#include "Mil.h"
#include "SimCameraRegistry.h"
#include "StringConv.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class MilTestCamera : public ::testing::Test {
protected:
    void SetUp() override { kavrino::SimCameraRegistry::Reset(); }
    void TearDown() override { kavrino::SimCameraRegistry::Reset(); }

    // A small camera (256 x 128) so that frames are quick; extra lines are appended to the file.
    static std::string Camera(bool color = false, int bits = 8, const std::string& extra = "") {
        return std::string("model = TestCam\nserial = ") + (color ? "C1" : "M1") +
               "\nsensor = 256 x 128\ncolor = " + (color ? "yes" : "no") +
               "\npixel_formats = Mono8, Mono10, Mono12" + (color ? ", BayerRG8, BayerRG10" : "") +
               "\nfps_max = 200\nbits = " + std::to_string(bits) + "\n" + extra;
    }

    std::wstring Write(const std::string& name, const std::string& text) {
        const QString path = m_dir.filePath(QString::fromStdString(name));
        FILE* f = std::fopen(path.toUtf8().constData(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        return path.toStdWString();
    }

    // Application, system, digitizer and a grab buffer of the digitizer's size.
    void Connect(const std::string& config, int bufferBits = 8) {
        app = MappAlloc(MIL_TEXT("M_DEFAULT"), M_DEFAULT);
        sys = MsysAlloc(M_DEFAULT, M_SYSTEM_RADIENTCXP, M_DEFAULT, M_DEFAULT);
        dig = MdigAlloc(sys, M_DEV0, Write("camera.dcf", config).c_str(), M_DEFAULT);
        ASSERT_NE(dig, 0) << kavrino::WideToUtf8(kavrino::MilLastErrorText());
        width = MdigInquire(dig, M_SIZE_X);
        height = MdigInquire(dig, M_SIZE_Y);
        buf = MbufAlloc2d(sys, width, height, bufferBits + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC);
        ASSERT_NE(buf, 0);
    }

    void Disconnect() {
        MbufFree(buf);
        MdigFree(dig);
        MsysFree(sys);
        MappFree(app);
        buf = dig = sys = app = 0;
    }

    // Starts grabbing, waits for `frames` frames, stops, and returns the last one as the hook copied it
    // (rows of `width` samples of the grab buffer's size).
    std::vector<std::uint8_t> Grab(int frames = 1) {
        Capture capture;
        capture.self = this;
        capture.wanted = frames;
        MdigHookFunction(dig, M_GRAB_FRAME_END, &Capture::Hook, &capture);
        MdigGrabContinuous(dig, buf);
        {
            std::unique_lock<std::mutex> lock(capture.mutex);
            capture.done.wait_for(lock, std::chrono::seconds(20), [&] { return capture.count >= frames; });
        }
        MdigHookFunction(dig, M_GRAB_FRAME_END + M_UNHOOK, &Capture::Hook, &capture);
        MdigHalt(dig);
        EXPECT_GE(capture.count, frames);
        return capture.frame;
    }

    static double Mean(const std::vector<std::uint8_t>& frame) {
        double sum = 0;
        for (auto v : frame)
            sum += v;
        return frame.empty() ? 0.0 : sum / frame.size();
    }

    MIL_ID app = 0, sys = 0, dig = 0, buf = 0;
    MIL_INT width = 0, height = 0;

private:
    struct Capture {
        MilTestCamera* self = nullptr;
        int wanted = 1;
        int count = 0;
        std::vector<std::uint8_t> frame;
        std::mutex mutex;
        std::condition_variable done;
        static MIL_INT Hook(MIL_INT, MIL_ID event, void* user) {
            auto* c = static_cast<Capture*>(user);
            MIL_ID modified = 0;
            MdigGetHookInfo(event, M_MODIFIED_BUFFER + M_BUFFER_ID, &modified);
            const MIL_INT w = c->self->width, h = c->self->height;
            std::vector<std::uint8_t> frame(
                static_cast<std::size_t>(w * h * MbufInquire(modified, M_SIZE_BIT) / 8));
            MbufGet2d(modified, 0, 0, w, h, frame.data());
            std::lock_guard<std::mutex> lock(c->mutex);
            c->frame.swap(frame);
            if (++c->count >= c->wanted)
                c->done.notify_all();
            return 0;
        }
    };
    QTemporaryDir m_dir;
};
