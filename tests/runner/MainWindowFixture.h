#pragma once
// A main window on the simulated camera, created as the set-up window hands it over, with every message
// box answered and recorded.

#include "CKavrinoDlg.h"
#include "TestHooks.h"

#include "SimCameraRegistry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace kavrino_test {

// The simulated camera a configuration file describes.
struct CameraFile {
    const char* serial;
    int width;
    int height;
    bool color;
    int bits;
    double fps;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        kavrino::SimCameraRegistry::Reset();
        ASSERT_TRUE(m_dir.isValid());
    }

    void TearDown() override { Close(); }

    // Writes a configuration file for the camera and returns its path.
    CString WriteDcf(const CameraFile& cam) {
        const QString formats = cam.color ? "Mono8, Mono10, BayerRG8, BayerRG10" : "Mono8, Mono10";
        const QString text =
            QString("model = %1\nserial = %2\nversion = 2.1.7\nsensor = %3 x %4\ncolor = %5\n"
                    "pixel_formats = %6\nfps_max = %7\nbits = %8\n")
                .arg(cam.color ? "KV-C640" : "KV-M640")
                .arg(cam.serial)
                .arg(cam.width)
                .arg(cam.height)
                .arg(cam.color ? "yes" : "no")
                .arg(formats)
                .arg(cam.fps)
                .arg(cam.bits);
        const QString path = m_dir.filePath(
            QString("%1_%2x%3_%4bit.dcf").arg(cam.serial).arg(cam.width).arg(cam.height).arg(cam.bits));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        return CString(path.toStdWString());
    }

    // The 8-bit and 10-bit files of one camera as the set-up window lists them ([2], 12 bits, empty).
    void UseCamera(const CameraFile& cam) {
        m_dcfList.RemoveAll();
        CameraFile cam8 = cam;
        cam8.bits = 8;
        CameraFile cam10 = cam;
        cam10.bits = 10;
        m_dcfList.AddTail(WriteDcf(cam8));
        m_dcfList.AddTail(WriteDcf(cam10));
        m_dcfList.AddTail(CString());
        m_bColor = cam.color;
    }

    // Constructs the window, hands the lists over and creates it.
    void Open() {
        m_items.RemoveAll();
        m_items.AddTail(L"Binning");
        m_items.AddTail(L"Reverse X/Y");
        m_dlg = std::make_unique<CKavrinoDlg>();
        m_dlg->m_pTestItemList = &m_items;
        m_dlg->m_pFrameRateList = &m_frameRates;
        m_dlg->m_pDcfList = &m_dcfList;
        m_dlg->m_bColorCamera = m_bColor ? TRUE : FALSE;
        ASSERT_TRUE(m_dlg->Create(CKavrinoDlg::IDD, nullptr));
    }

    void Close() {
        if (!m_dlg)
            return;
        if (m_dlg->GetSafeHwnd() != nullptr) {
            m_dlg->SendMessage(WM_CLOSE);
            m_dlg->DestroyWindow();
        }
        m_dlg.reset();
    }

    void Click(int id) {
        CWnd* pButton = m_dlg->GetDlgItem(id);
        ASSERT_NE(pButton, nullptr);
        m_dlg->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                           reinterpret_cast<LPARAM>(pButton->GetSafeHwnd()));
    }

    void SelectPixelFormat(const wchar_t* name) {
        const int index = m_dlg->m_cmbPixelFormat.FindStringExact(-1, name);
        ASSERT_GE(index, 0) << "no combo entry";
        m_dlg->m_cmbPixelFormat.SetCurSel(index);
        m_dlg->SendMessage(WM_COMMAND, MAKEWPARAM(CKavrinoDlg::IDC_PIXEL_FORMAT, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(m_dlg->m_cmbPixelFormat.GetSafeHwnd()));
    }

    CString Text(int id) {
        CString text;
        m_dlg->GetDlgItemText(id, text);
        return text;
    }

    bool HasBox(const wchar_t* text) const {
        for (const auto& box : m_boxes.Texts())
            if (box == text)
                return true;
        return false;
    }

    // No library object is held.
    void ExpectNoLibraryObjects() {
        EXPECT_EQ(m_dlg->m_milApplication, M_NULL);
        EXPECT_EQ(m_dlg->m_milSystem, M_NULL);
        EXPECT_EQ(m_dlg->m_milDigitizer, M_NULL);
        EXPECT_EQ(m_dlg->m_milImage, M_NULL);
    }

    // Waits, while the user interface runs, until the grab hook has counted this many frames.
    bool WaitForFrames(ULONGLONG count) {
        return kavrino::PumpUntil([&] { return m_dlg->m_nFrameCount.load() >= count; });
    }

    // Opened and connected with this camera, live started and stopped again: the hook's geometry is then
    // fixed, and frames can be handed over directly. False when the connection failed or live stayed on.
    bool ConnectedWithLiveGeometry(const CameraFile& cam) {
        UseCamera(cam);
        Open();
        Click(CKavrinoDlg::IDC_CONNECT);
        if (!m_dlg->m_bConnected)
            return false;
        Click(CKavrinoDlg::IDC_LIVE);
        Click(CKavrinoDlg::IDC_LIVE);
        return !m_dlg->m_bLive;
    }

    QTemporaryDir m_dir;
    kavrino::MessageBoxRecorder m_boxes{IDOK};
    CStringList m_items;
    CStringList m_frameRates;
    CStringList m_dcfList;
    bool m_bColor = false;
    std::unique_ptr<CKavrinoDlg> m_dlg;
};

} // namespace kavrino_test
