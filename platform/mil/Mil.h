#pragma once
// The imaging library as the system calls it: application, system, digitizer and grab-buffer allocation,
// digitizer size and offset controls, grab hooks, continuous grab and halt, buffer copies, GenICam
// feature access by name, and the current-error query. Behind it sits a simulated CoaXPress grabber
// with a simulated camera (SimDigitizer, SimCamera); the configuration file given to MdigAlloc describes
// that camera (samples/README.md).
//
// Error model: a call that fails leaves its error pending. MappGetError(M_DEFAULT, M_CURRENT, M_NULL)
// returns the pending error and clears it; calls that succeed never clear it. So the one query after a
// sequence of calls reports the last failure among them (also when acquisition calls followed the
// failing write). The pending error belongs to the calling thread and to the piece of work that made the
// call (kavrino::MilErrorScope; the window system opens one around every message it dispatches): a
// failure its own work never queried ends with that work, and a later handler's query does not report
// it. Freeing or allocating the application discards a pending error. The text of the latest failure,
// of any thread, stays readable for logs through kavrino::MilLastErrorText(), whether or not it was
// queried.
//
// Feature values are typed. The C-style forms take a type code and an untyped pointer; the library
// reads or writes exactly one value of that type code's size:
//   M_TYPE_DOUBLE -> MIL_DOUBLE, M_TYPE_INT64 -> MIL_INT64, M_TYPE_BOOLEAN -> MIL_BOOL (32 bits),
//   M_TYPE_STRING and M_TYPE_ENUMERATION -> a zero-terminated wide text.
// With M_FEATURE_VALUE_AS_STRING the value is always a wide text, whatever the type code: a write parses
// it into the feature's own type (an entry name for enumerations, "0"/"1"/"true"/"false"/"on"/"off" for
// booleans, a decimal number for integers and floats); a read formats the value as text.
// An enumeration is written from its entry name with M_FEATURE_VALUE_AS_STRING, or with M_FEATURE_VALUE
// and M_TYPE_STRING / M_TYPE_ENUMERATION; an entry the camera does not offer is refused.
// Numeric values are converted between double, 64-bit integer and boolean when no information is lost
// (2.0 to an integer feature, 1 to a boolean); anything else is refused with an error.
// The typed overloads below choose the type code from the C++ type of the value, so a value of the
// wrong size cannot be passed by accident. Text reads with a buffer length never write past it (the
// text is cut and always zero-terminated); the C-style text read without a length writes at most
// M_FEATURE_TEXT_SIZE wide characters including the terminating zero.

#include <cstddef>
#include <cstdint>
#include <string>

using MIL_ID = std::int64_t;
using MIL_INT = std::int64_t;
using MIL_UINT = std::uint64_t;
using MIL_INT64 = std::int64_t;
using MIL_INT32 = std::int32_t;
using MIL_UINT8 = std::uint8_t;
using MIL_UINT16 = std::uint16_t;
using MIL_DOUBLE = double;
using MIL_BOOL = std::int32_t;
using MIL_TEXT_CHAR = wchar_t;
using MIL_TEXT_PTR = MIL_TEXT_CHAR*;
using MIL_CONST_TEXT_PTR = const MIL_TEXT_CHAR*;

#define MIL_TEXT(x) L##x
// A literal zero, so that it serves both as an empty identifier and as a null pointer argument.
#define M_NULL 0

constexpr MIL_INT64 M_DEFAULT = 0x10000000;
constexpr MIL_INT M_DEV0 = 0;

// System descriptors.
#define M_SYSTEM_RADIENTCXP MIL_TEXT("M_SYSTEM_RADIENTCXP")
#define M_SYSTEM_DEFAULT MIL_TEXT("M_DEFAULT")

// Buffer types and attributes: 8 + M_UNSIGNED or 16 + M_UNSIGNED; M_IMAGE + M_GRAB + M_PROC is 28.
constexpr MIL_INT M_UNSIGNED = 0x00000000;
constexpr MIL_INT M_SIGNED = 0x80000000;
constexpr MIL_INT64 M_IMAGE = 0x4;
constexpr MIL_INT64 M_PROC = 0x8;
constexpr MIL_INT64 M_GRAB = 0x10;

// Digitizer and buffer inquiries and controls.
constexpr MIL_INT64 M_SIZE_X = 4022;
constexpr MIL_INT64 M_SIZE_Y = 4023;
constexpr MIL_INT64 M_SOURCE_OFFSET_X = 4024;
constexpr MIL_INT64 M_SOURCE_OFFSET_Y = 4025;
constexpr MIL_INT64 M_SIZE_BIT = 4030; // bits per sample: the digitizer's depth, or the buffer's

// Grab hooks.
constexpr MIL_INT M_GRAB_FRAME_END = 5;
constexpr MIL_INT M_UNHOOK = 0x04000000;
constexpr MIL_INT64 M_MODIFIED_BUFFER = 0x40000000;
constexpr MIL_INT64 M_BUFFER_ID = 0x00160000;

// Feature access codes.
constexpr MIL_INT64 M_FEATURE_TYPE = 0x40000;
constexpr MIL_INT64 M_FEATURE_VALUE = 0xfa0000;
constexpr MIL_INT64 M_FEATURE_VALUE_AS_STRING = 0xfb0000;
constexpr MIL_INT64 M_FEATURE_EXECUTE = 0xfc0000;
constexpr MIL_INT64 M_FEATURE_MIN = 0xfd0000;
constexpr MIL_INT64 M_FEATURE_MAX = 0xfe0000;
constexpr MIL_INT64 M_FEATURE_INCREMENT = 0xff0000;

// Feature types, as M_FEATURE_TYPE reports them and as the type code of a value.
constexpr MIL_INT64 M_TYPE_COMMAND = 0x8000;
constexpr MIL_INT64 M_TYPE_DOUBLE = 0x1000000;
constexpr MIL_INT64 M_TYPE_STRING = 0x40000000;
constexpr MIL_INT64 M_TYPE_BOOLEAN = 0x5000000000;
constexpr MIL_INT64 M_TYPE_ENUMERATION = 0x7000000000;
constexpr MIL_INT64 M_TYPE_INT64 = 0x8000000000;

// The most wide characters (terminating zero included) a text read without a buffer length writes.
constexpr MIL_INT M_FEATURE_TEXT_SIZE = 100;

// Error query: MappGetError(M_DEFAULT, M_CURRENT, M_NULL) returns the pending error code (0: none).
// With M_CURRENT + M_MESSAGE and a buffer of M_ERROR_MESSAGE_SIZE wide characters it also writes the
// error's text; with M_CURRENT and a MIL_INT pointer it also writes the code there.
constexpr MIL_INT64 M_CURRENT = 2;
constexpr MIL_INT64 M_MESSAGE = 0x20000000;
constexpr MIL_INT M_ERROR_MESSAGE_SIZE = 256;
constexpr MIL_INT M_NULL_ERROR = 0;

using MIL_DIG_HOOK_FUNCTION_PTR = MIL_INT (*)(MIL_INT hookType, MIL_ID eventId, void* userDataPtr);

// Application and system. An identifier pointer may be M_NULL; the identifier is also returned.
MIL_ID MappAlloc(MIL_CONST_TEXT_PTR serverDescription, MIL_INT64 initFlag, MIL_ID* appIdPtr = M_NULL);
void MappFree(MIL_ID appId);
MIL_INT MappGetError(MIL_ID appId, MIL_INT64 errorType, void* errorPtr = M_NULL);
MIL_ID MsysAlloc(MIL_ID contextAppId, MIL_CONST_TEXT_PTR systemDescriptor, MIL_INT systemNum,
                 MIL_INT64 initFlag, MIL_ID* sysIdPtr = M_NULL);
void MsysFree(MIL_ID sysId);

// Digitizer: device 0 of the system, configured from a file; 0 when the file is missing or invalid.
MIL_ID MdigAlloc(MIL_ID sysId, MIL_INT devNum, MIL_CONST_TEXT_PTR dataFormat, MIL_INT64 initFlag,
                 MIL_ID* digIdPtr = M_NULL);
void MdigFree(MIL_ID digId);
// M_SIZE_X, M_SIZE_Y, M_SOURCE_OFFSET_X, M_SOURCE_OFFSET_Y, M_SIZE_BIT; the value is also returned.
MIL_INT MdigInquire(MIL_ID digId, MIL_INT64 inquireType, MIL_INT* userVarPtr = M_NULL);
// The grabbed window: size and offsets must keep it inside the camera image; the size cannot change
// while grabbing, the offsets can.
void MdigControl(MIL_ID digId, MIL_INT64 controlType, MIL_DOUBLE controlValue);

// Grab: the hook of type M_GRAB_FRAME_END is called once per frame on the digitizer's own thread;
// M_GRAB_FRAME_END + M_UNHOOK removes it again. MdigHalt returns after the last hook call has returned.
void MdigHookFunction(MIL_ID digId, MIL_INT hookType, MIL_DIG_HOOK_FUNCTION_PTR hookHandlerPtr,
                      void* userDataPtr);
void MdigGrabContinuous(MIL_ID digId, MIL_ID destImageBufId);
void MdigHalt(MIL_ID digId);
// M_MODIFIED_BUFFER + M_BUFFER_ID: the buffer the event's frame was grabbed into.
MIL_INT MdigGetHookInfo(MIL_ID eventId, MIL_INT64 infoType, MIL_ID* userVarPtr);

// Grab buffers: one band, 8 or 16 bits unsigned. MbufGet2d copies a region inside the buffer into
// memory with rows of sizeX samples and no padding (1 or 2 bytes per sample).
MIL_ID MbufAlloc2d(MIL_ID sysId, MIL_INT sizeX, MIL_INT sizeY, MIL_INT type, MIL_INT64 attribute,
                   MIL_ID* bufIdPtr = M_NULL);
void MbufFree(MIL_ID bufId);
MIL_INT MbufInquire(MIL_ID bufId, MIL_INT64 inquireType, MIL_INT* userVarPtr = M_NULL);
void MbufGet2d(MIL_ID bufId, MIL_INT offX, MIL_INT offY, MIL_INT sizeX, MIL_INT sizeY, void* userArrayPtr);

// Features, C-style: the access code, the feature name, the value's type code and the value.
// M_FEATURE_TYPE reads a MIL_INT64 (type code M_DEFAULT or M_TYPE_INT64).
void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64 userVarType, void* userVarPtr);
void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64 userVarType, const void* userVarPtr);

// Features, typed: the type code follows the value.
void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_DOUBLE* value);
void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64* value);
void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName, MIL_BOOL* value);
// A text read into a buffer of bufferLength wide characters (string or enumeration type code).
void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64 userVarType, MIL_TEXT_CHAR* buffer, MIL_INT bufferLength);
void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName,
                        MIL_DOUBLE value);
void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName, MIL_INT64 value);
void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName, MIL_BOOL value);
void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName,
                        MIL_CONST_TEXT_PTR value);
// Executes a command feature (M_FEATURE_EXECUTE).
void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName);

namespace kavrino {

// Error codes MappGetError returns.
enum MilErrorCode : MIL_INT {
    kMilErrorNone = 0,
    kMilErrorInvalidId = 1,        // an identifier that names no object of the expected kind
    kMilErrorInvalidParameter = 2, // a value or code the operation does not accept
    kMilErrorAllocation = 3,       // an object could not be allocated (system, device, size, depth)
    kMilErrorConfiguration = 4,    // the digitizer's configuration file is missing, empty or malformed
    kMilErrorFeatureUnknown = 5,   // the camera has no feature of that name
    kMilErrorFeatureAccess = 6,    // not readable, not writable, or locked while acquisition runs
    kMilErrorFeatureRange = 7,     // below the minimum, above the maximum or off the increment
    kMilErrorFeatureEntry = 8,     // an enumeration entry the camera does not offer
    kMilErrorFeatureType = 9,      // a value that does not fit the feature's type
    kMilErrorFeatureRefused = 10,  // the camera refused the write
    kMilErrorBusy = 11,            // the operation is not possible while grabbing
    kMilErrorWindow = 12,          // a digitizer window that leaves the camera image
};

// The text of the latest failure of any library call (empty when none failed since the start or since
// SimCameraRegistry::Reset), for the log of a failed test; the error query does not clear it.
std::wstring MilLastErrorText();
// The code of that failure, also kept after the query.
MIL_INT MilLastErrorCode();
// The number of library objects allocated now, hook events included (for tests that check that nothing is
// left behind).
std::size_t MilObjectCount();

} // namespace kavrino
