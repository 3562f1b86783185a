#pragma once
// A display window with a main-window record that is never shown: the tests fill the record's frame
// buffer and members the way live acquisition does and call the display's operations directly.

#include "AlignParameters.h"
#include "BrightWindows.h"
#include "CDisplayDlg.h"
#include "CKavrinoDlg.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

// Blue, green, red of one pixel.
struct Bgr {
    int b, g, r;
    bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};
inline std::ostream& operator<<(std::ostream& os, const Bgr& p) {
    return os << "(b " << p.b << ", g " << p.g << ", r " << p.r << ")";
}

inline Bgr PixelOf(CCvImage* image, int x, int y) {
    Gdiplus::Color c;
    image->m_pBitmap->GetPixel(x, y, &c);
    return {c.GetB(), c.GetG(), c.GetR()};
}

class DisplayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        main = std::make_unique<CKavrinoDlg>();
        disp = new CDisplayDlg;
        ASSERT_TRUE(disp->Create(CDisplayDlg::IDD, main.get()));
        main->m_pDisplayDlg = disp;
        SetClientSize(1000, 800);
    }

    void TearDown() override {
        main->m_pDisplayDlg = nullptr;
        main->m_bNewFrame = FALSE;
        disp->DestroyWindow();
        delete disp;
        main.reset();
        ResetGlobals();
    }

    static void ResetGlobals() {
        g_nAlignCenterX = 0;
        g_nAlignCenterY = 0;
        g_nAlignThresholdX = 10;
        g_nAlignThresholdY = 10;
        g_nAlignTop = g_nAlignBottom = g_nAlignLeft = g_nAlignRight = 200;
        g_nEdgeZoom = 4;
        const int boxes[4] = {76, 56, 56, 76};
        std::copy(std::begin(boxes), std::end(boxes), g_nEdgeBoxSize);
        for (auto& window : g_rcBrightWindow)
            std::fill(std::begin(window), std::end(window), 0);
    }

    // Resizes the window so that its client area is cw x ch (the frame and scroll bars come on top).
    void SetClientSize(int cw, int ch) {
        disp->ShowWindow(SW_RESTORE);
        // The frame and the scroll bars come on top of the client: correct the size until it fits.
        int width = cw + 40;
        int height = ch + 40;
        for (int attempt = 0; attempt < 4; ++attempt) {
            disp->MoveWindow(0, 0, width, height);
            QCoreApplication::processEvents();
            CRect client;
            disp->GetClientRect(&client);
            if (client.Width() == cw && client.Height() == ch)
                break;
            width += cw - client.Width();
            height += ch - client.Height();
        }
        disp->GetClientRect(&disp->m_rcClient);
        ASSERT_EQ(disp->m_rcClient.Width(), cw);
        ASSERT_EQ(disp->m_rcClient.Height(), ch);
    }

    // A frame of w x h samples of the given bytes per sample, as the grab hook leaves it in the frame
    // buffer that connection allocated for that size; the display is set up for it as live start does.
    void StartFrames(int w, int h, const wchar_t* format, int bytesPerSample) {
        main->m_nWidth = w;
        main->m_nHeight = h;
        main->AllocateFrameBuffer();
        frame = main->m_pFrameBuf;
        frameBytes = static_cast<size_t>(w) * h * bytesPerSample;
        main->m_strPixelFormat = format;
        main->m_bNewFrame = TRUE;
        disp->SetImageFormat(w, h, format);
    }

    void Fill8(BYTE value) { std::fill(frame, frame + frameBytes, value); }
    void Set8(int x, int y, BYTE value) { frame[static_cast<size_t>(y) * main->m_nWidth + x] = value; }
    void Set16(int x, int y, unsigned value) {
        const size_t i = 2 * (static_cast<size_t>(y) * main->m_nWidth + x);
        frame[i] = static_cast<BYTE>(value & 0xFF);
        frame[i + 1] = static_cast<BYTE>(value >> 8);
    }
    // A BayerRG mosaic: red at even column and row, blue at odd column and row, green elsewhere.
    void FillMosaic(BYTE red, BYTE green, BYTE blue) {
        for (int y = 0; y < main->m_nHeight; ++y)
            for (int x = 0; x < main->m_nWidth; ++x)
                Set8(x, y, (x % 2 == 0 && y % 2 == 0) ? red : (x % 2 == 1 && y % 2 == 1) ? blue : green);
    }

    std::unique_ptr<CKavrinoDlg> main;
    CDisplayDlg* disp = nullptr;
    // The samples of the current frame, in the main window's frame buffer.
    BYTE* frame = nullptr;
    size_t frameBytes = 0;
};
