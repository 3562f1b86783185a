// Allocation, configuration files, the error model and buffer copies of the imaging library.
#include "MilErrorScope.h"
#include "MilTestCamera.h"
#include "StringConv.h"

#include <cstring>
#include <future>
#include <thread>

using namespace kavrino;

using MilLibraryTest = MilTestCamera;

TEST_F(MilLibraryTest, DigitizerAllocationFailsWithAReasonForBadConfigurationFiles) {
    app = MappAlloc(MIL_TEXT("M_DEFAULT"), M_DEFAULT);
    sys = MsysAlloc(M_DEFAULT, M_SYSTEM_RADIENTCXP, M_DEFAULT, M_DEFAULT);
    ASSERT_NE(app, 0);
    ASSERT_NE(sys, 0);
    const struct {
        std::string name, text, reason;
    } cases[] = {
        {"empty.dcf", "", "empty"},
        {"comments.dcf", "# nothing but a comment\n\n", "empty"},
        {"nokey.dcf", "model TestCam\n", "line 1"},
        {"unknown.dcf", Camera() + "shutter = global\n", "unknown key 'shutter'"},
        {"twice.dcf", Camera() + "bits = 10\n", "given twice"},
        {"bits.dcf", Camera(false, 8).replace(Camera().find("bits = 8"), 8, "bits = 9"), "'bits'"},
        {"size.dcf",
         "model = A\nserial = B\nsensor = 100 x 50\ncolor = no\npixel_formats = Mono8\nfps_max = 30\nbits = "
         "8\n",
         "'sensor'"},
        {"bayer.dcf",
         "model = A\nserial = B\nsensor = 256 x 128\ncolor = no\npixel_formats = BayerRG8\nfps_max = "
         "30\nbits = 8\n",
         "BayerRG8"},
        {"nomodel.dcf",
         "serial = B\nsensor = 256 x 128\ncolor = no\npixel_formats = Mono8\nfps_max = 30\nbits = 8\n",
         "missing key 'model'"},
        {"binary.dcf", std::string("\xff\xfe\x00m", 4), "UTF-8"},
    };
    for (const auto& c : cases) {
        MIL_ID out = 77;
        EXPECT_EQ(MdigAlloc(sys, M_DEV0, Write(c.name, c.text).c_str(), M_DEFAULT, &out), 0) << c.name;
        EXPECT_EQ(out, 0) << c.name;
        EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorConfiguration) << c.name;
        const std::wstring why = MilLastErrorText();
        EXPECT_NE(why.find(std::wstring(c.reason.begin(), c.reason.end())), std::wstring::npos)
            << c.name << ": " << std::string(why.begin(), why.end());
    }
    EXPECT_EQ(MdigAlloc(sys, M_DEV0, MIL_TEXT("/no/such/folder/camera.dcf"), M_DEFAULT), 0);
    EXPECT_NE(MilLastErrorText().find(L"not found"), std::wstring::npos);
    // A device named as the file is refused at once instead of being read without end; so is a file far
    // larger than any configuration.
    EXPECT_EQ(MdigAlloc(sys, M_DEV0, MIL_TEXT("/dev/zero"), M_DEFAULT), 0);
    EXPECT_NE(MilLastErrorText().find(L"not a configuration file"), std::wstring::npos);
    EXPECT_EQ(
        MdigAlloc(sys, M_DEV0, Write("large.dcf", Camera() + std::string(1 << 20, '#')).c_str(), M_DEFAULT),
        0);
    EXPECT_NE(MilLastErrorText().find(L"not a configuration file"), std::wstring::npos);
    EXPECT_EQ(MdigAlloc(sys, M_DEV0, nullptr, M_DEFAULT), 0);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorConfiguration);

    // A file as a Windows editor saves it, with a byte-order mark and CR LF line ends, is a good one.
    std::string windows = "\xEF\xBB\xBF";
    for (char c : Camera())
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const MIL_ID good = MdigAlloc(sys, M_DEV0, Write("windows.dcf", windows).c_str(), M_DEFAULT);
    EXPECT_NE(good, 0) << WideToUtf8(MilLastErrorText());
    EXPECT_EQ(MdigInquire(good, M_SIZE_X), 256);
    MdigFree(good);
}

TEST_F(MilLibraryTest, OtherAllocationsRefuseWhatTheBoardCannotDo) {
    EXPECT_EQ(MsysAlloc(M_DEFAULT, M_SYSTEM_RADIENTCXP, M_DEFAULT, M_DEFAULT), 0); // no application yet
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorInvalidId);
    Connect(Camera());
    EXPECT_EQ(MsysAlloc(M_DEFAULT, MIL_TEXT("M_SYSTEM_SOLIOS"), M_DEFAULT, M_DEFAULT), 0);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorAllocation);
    EXPECT_EQ(MdigAlloc(sys, 1, Write("c.dcf", Camera()).c_str(), M_DEFAULT), 0);
    EXPECT_EQ(MdigAlloc(sys, M_DEV0, Write("c.dcf", Camera()).c_str(), M_DEFAULT), 0); // device 0 taken
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorAllocation);
    EXPECT_EQ(MbufAlloc2d(sys, 64, 64, 8 + M_SIGNED, M_IMAGE + M_GRAB + M_PROC), 0);
    EXPECT_EQ(MbufAlloc2d(sys, 64, 64, 12 + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC), 0);
    EXPECT_EQ(MbufAlloc2d(sys, 0, 64, 8 + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC), 0);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorAllocation);
    // Freed identifiers stay invalid.
    const MIL_ID old = dig;
    MdigFree(dig);
    EXPECT_EQ(MdigInquire(old, M_SIZE_X), 0);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorInvalidId);
    MdigFree(old);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorInvalidId);
}

TEST_F(MilLibraryTest, TheErrorStaysPendingUntilQueriedAndSuccessDoesNotClearIt) {
    Connect(Camera());
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 100.0); // out of range
    MIL_DOUBLE gain = 0.0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), &gain); // succeeds
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 2.0);   // succeeds
    MIL_INT code = 0;
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, &code), kMilErrorFeatureRange);
    EXPECT_EQ(code, kMilErrorFeatureRange);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);        // the query cleared it
    EXPECT_NE(MilLastErrorText().find(L"Gain"), std::wstring::npos); // the text stays for the log

    // The message form, cut to the documented size.
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerMode"), MIL_TEXT("Sometimes"));
    MIL_TEXT_CHAR message[M_ERROR_MESSAGE_SIZE] = {};
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT + M_MESSAGE, message), kMilErrorFeatureEntry);
    EXPECT_NE(std::wstring(message).find(L"Sometimes"), std::wstring::npos);

    // A piece of work (the handling of one message) sees only its own calls' failures; one it leaves
    // unqueried ends with it, and the error pending around it is pending again afterwards.
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 100.0);
    {
        MilErrorScope outer;
        MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 2.0);
        EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
        MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerMode"), MIL_TEXT("Sometimes"));
        {
            MilErrorScope inner;
            MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("NoSuchFeature"), 1.0);
        }
        EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorFeatureEntry);
        MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("NoSuchFeature"), 1.0); // never queried
    }
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorFeatureRange);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);

    // A failure belongs to the thread whose call failed.
    std::thread other([&] {
        MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 100.0);
        EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorFeatureRange);
        MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("NoSuchFeature"), 1.0);
    });
    other.join();
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
    EXPECT_NE(MilLastErrorText().find(L"NoSuchFeature"), std::wstring::npos);

    // A new application starts without a pending error.
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("NoSuchFeature"), 1.0);
    Disconnect();
    Connect(Camera());
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
}

// The window system opens a scope around every message on the user-interface thread while the grab hook
// and the runner call the library on theirs: a scope saves and restores only its own thread's error, and
// a fresh start (a new program in the tests) leaves no thread an error from before it.
TEST_F(MilLibraryTest, ErrorScopesKeepToTheirThreadAndAFreshStartDropsEveryPendingError) {
    Connect(Camera());
    auto badGain = [this] { MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 100.0); };
    auto noSuchFeature = [this] { MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("NoSuchFeature"), 1.0); };

    // One thread's scope neither takes nor hands back another thread's pending error.
    std::promise<void> otherRaised, scopeDone, otherScopeDone;
    MIL_INT otherSeesAfterOurScope = -1;
    std::thread other([&] {
        badGain(); // left pending on this thread
        otherRaised.set_value();
        scopeDone.get_future().wait();
        otherSeesAfterOurScope = MappGetError(M_DEFAULT, M_CURRENT, M_NULL);
        {
            MilErrorScope scope;
            noSuchFeature(); // never queried: ends with the scope
        }
        otherScopeDone.set_value();
    });
    otherRaised.get_future().wait();
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerMode"), MIL_TEXT("Sometimes"));
    {
        MilErrorScope scope;
        EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
        noSuchFeature();
    }
    scopeDone.set_value();
    otherScopeDone.get_future().wait();
    other.join();
    EXPECT_EQ(otherSeesAfterOurScope, kMilErrorFeatureRange);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorFeatureEntry);

    // A fresh start: the error pending on this thread, one saved by an open scope and one pending on a
    // thread that lives on across it are all gone, and so is the latest failure kept for the log.
    std::promise<void> otherPending, resetDone;
    MIL_INT otherSeesAfterReset = -1;
    std::thread survivor([&] {
        badGain();
        otherPending.set_value();
        resetDone.get_future().wait();
        otherSeesAfterReset = MappGetError(M_DEFAULT, M_CURRENT, M_NULL);
    });
    otherPending.get_future().wait();
    badGain();
    {
        MilErrorScope scope;
        badGain();
        SimCameraRegistry::Reset();
        buf = dig = sys = app = 0;
        EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
    }
    resetDone.set_value();
    survivor.join();
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
    EXPECT_EQ(otherSeesAfterReset, 0);
    EXPECT_EQ(MilLastErrorCode(), kMilErrorNone);
    EXPECT_TRUE(MilLastErrorText().empty());
}

TEST_F(MilLibraryTest, BufferCopiesGiveRowsWithoutPaddingAndRefuseRegionsOutsideTheBuffer) {
    Connect(Camera());
    const MIL_ID small = MbufAlloc2d(sys, 5, 3, 16 + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC);
    ASSERT_NE(small, 0);
    EXPECT_EQ(MbufInquire(small, M_SIZE_X), 5);
    EXPECT_EQ(MbufInquire(small, M_SIZE_BIT), 16);
    std::vector<std::uint16_t> out(5 * 3, 0xBEEF);
    MbufGet2d(small, 0, 0, 5, 3, out.data());
    EXPECT_EQ(out, std::vector<std::uint16_t>(15, 0));
    std::vector<std::uint16_t> region(2 * 2 + 1, 0xBEEF);
    MbufGet2d(small, 3, 1, 2, 2, region.data());
    EXPECT_EQ(region[4], 0xBEEF);                // exactly 2 x 2 samples written
    MbufGet2d(small, 4, 0, 2, 1, region.data()); // one column past the end
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorInvalidParameter);
    region.assign(region.size(), 0xBEEF);
    MbufGet2d(small, -1, 0, 2, 1, region.data()); // a negative start
    MbufGet2d(small, 0, -1, 2, 1, region.data());
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorInvalidParameter);
    EXPECT_EQ(region[0], 0xBEEF);
    MbufGet2d(small, 0, 0, 5, 3, nullptr);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorInvalidParameter);
    MbufFree(small);
}

TEST_F(MilLibraryTest, AGrabbedBufferCannotBeFreedAndFreeingTheApplicationReleasesEverything) {
    Connect(Camera());
    MdigGrabContinuous(dig, buf);
    MbufFree(buf);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorBusy);
    MdigGrabContinuous(dig, buf);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorBusy);
    MappFree(app); // halts and frees the digitizer, the buffer and the system
    EXPECT_EQ(MdigInquire(dig, M_SIZE_X), 0);
    MbufFree(buf);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorInvalidId);
}
