// The imaging library's operations, on the simulated grabber and camera.
#include "Mil.h"

#include "MilErrorState.h"
#include "MilObjectTable.h"
#include "SimBuffer.h"
#include "SimCameraRegistry.h"
#include "SimDigitizer.h"
#include "SimGrabEvent.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

using namespace kavrino;

namespace {

// The longest text a feature write reads from its value pointer.
constexpr std::size_t kMaxWrittenText = 4096;

MilObjectTable& Table() {
    return MilObjectTable::Instance();
}

void Fail(MIL_INT code, const wchar_t* operation, const std::wstring& reason) {
    MilErrorState::Instance().Raise(code, operation, reason);
}

const wchar_t* KindName(MilObject::Kind kind) {
    switch (kind) {
    case MilObject::Application:
        return L"an application";
    case MilObject::System:
        return L"a system";
    case MilObject::Digitizer:
        return L"a digitizer";
    case MilObject::Buffer:
        return L"a buffer";
    case MilObject::Event:
        return L"a hook event";
    }
    return L"an object";
}

template <typename T = MilObject>
std::shared_ptr<T> Lookup(MIL_ID id, MilObject::Kind kind, const wchar_t* operation) {
    if (kind == MilObject::Application && id == M_DEFAULT)
        id = Table().DefaultApplication();
    auto object = Table().Get<T>(id, kind);
    if (!object)
        Fail(kMilErrorInvalidId, operation,
             L"identifier " + std::to_wstring(id) + L" is not " + KindName(kind));
    return object;
}

template <typename T> void Store(T* ptr, T value) {
    if (ptr)
        *ptr = value;
}

// Frees an object and everything allocated on it, digitizers before the buffers they may grab into.
void FreeTree(MIL_ID id) {
    auto children = Table().OwnedBy(id);
    std::stable_partition(children.begin(), children.end(),
                          [](const auto& c) { return c->GetKind() == MilObject::Digitizer; });
    for (const auto& child : children)
        FreeTree(child->Id());
    Table().Remove(id);
}

bool CopyText(const std::wstring& text, MIL_TEXT_CHAR* buffer, MIL_INT length) {
    if (!buffer || length <= 0)
        return false;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(length - 1));
    std::wmemcpy(buffer, text.data(), n);
    buffer[n] = L'\0';
    return true;
}

bool IsTextType(MIL_INT64 type) {
    return type == M_TYPE_STRING || type == M_TYPE_ENUMERATION;
}

// A value read from the camera, given to the caller in the type code's own size.
bool Output(const SimValue& v, MIL_INT64 type, bool asText, void* out, MIL_INT textLength, std::wstring& why,
            MIL_INT& code) {
    code = kMilErrorFeatureType;
    if (asText) {
        why = L"a text read needs a text buffer";
        return CopyText(v.s, static_cast<MIL_TEXT_CHAR*>(out), textLength);
    }
    const bool isEntry = v.kind == SimValue::Text;
    switch (type) {
    case M_TYPE_DOUBLE:
        if (v.kind == SimValue::Double || v.kind == SimValue::Int) {
            *static_cast<MIL_DOUBLE*>(out) = v.kind == SimValue::Double ? v.d : static_cast<double>(v.i);
            return true;
        }
        break;
    case M_TYPE_INT64:
        if (v.kind == SimValue::Int || isEntry || v.kind == SimValue::Bool ||
            (v.kind == SimValue::Double && v.d == static_cast<double>(static_cast<MIL_INT64>(v.d)))) {
            *static_cast<MIL_INT64*>(out) = v.kind == SimValue::Double ? static_cast<MIL_INT64>(v.d)
                                            : v.kind == SimValue::Bool ? (v.b ? 1 : 0)
                                                                       : v.i;
            return true;
        }
        break;
    case M_TYPE_BOOLEAN:
        if (v.kind == SimValue::Bool || (v.kind == SimValue::Int && (v.i == 0 || v.i == 1))) {
            *static_cast<MIL_BOOL*>(out) =
                v.kind == SimValue::Bool ? (v.b ? 1 : 0) : static_cast<MIL_BOOL>(v.i);
            return true;
        }
        break;
    default:
        why = L"type code " + std::to_wstring(type) + L" cannot carry a value";
        code = kMilErrorInvalidParameter;
        return false;
    }
    why = L"the value does not fit type code " + std::to_wstring(type);
    return false;
}

void InquireFeature(MIL_ID digId, MIL_INT64 access, MIL_CONST_TEXT_PTR name, MIL_INT64 type, void* out,
                    MIL_INT textLength) {
    const wchar_t* op = L"MdigInquireFeature";
    auto dig = Lookup<SimDigitizer>(digId, MilObject::Digitizer, op);
    if (!dig)
        return;
    if (!name || !out) {
        Fail(kMilErrorInvalidParameter, op, !name ? L"no feature name" : L"no value pointer");
        return;
    }
    std::wstring why;
    if (access == M_FEATURE_TYPE) {
        MIL_INT64 featureType = 0;
        if (type != M_DEFAULT && type != M_TYPE_INT64)
            Fail(kMilErrorInvalidParameter, op, L"the feature type is read as a 64-bit integer");
        else if (const MIL_INT code = dig->Camera().Type(name, featureType, why))
            Fail(code, op, why);
        else
            *static_cast<MIL_INT64*>(out) = featureType;
        return;
    }
    SimCamera::Query query;
    switch (access) {
    case M_FEATURE_VALUE:
    case M_FEATURE_VALUE_AS_STRING:
        query = SimCamera::Value;
        break;
    case M_FEATURE_MIN:
        query = SimCamera::Min;
        break;
    case M_FEATURE_MAX:
        query = SimCamera::Max;
        break;
    case M_FEATURE_INCREMENT:
        query = SimCamera::Increment;
        break;
    default:
        Fail(kMilErrorInvalidParameter, op, L"access code " + std::to_wstring(access) + L" reads nothing");
        return;
    }
    const bool asText = access == M_FEATURE_VALUE_AS_STRING || IsTextType(type);
    SimValue value;
    MIL_INT code = dig->Camera().Read(name, query, asText, value, why);
    if (code != kMilErrorNone)
        Fail(code, op, why);
    else if (!Output(value, type, asText, out, textLength, why, code))
        Fail(code, op, std::wstring(name) + L": " + why);
}

void ControlFeature(MIL_ID digId, MIL_INT64 access, MIL_CONST_TEXT_PTR name, MIL_INT64 type, const void* in) {
    const wchar_t* op = L"MdigControlFeature";
    auto dig = Lookup<SimDigitizer>(digId, MilObject::Digitizer, op);
    if (!dig)
        return;
    if (!name) {
        Fail(kMilErrorInvalidParameter, op, L"no feature name");
        return;
    }
    std::wstring why;
    MIL_INT code = kMilErrorNone;
    if (access == M_FEATURE_EXECUTE) {
        code = dig->Camera().Execute(name, why);
    } else if (access == M_FEATURE_VALUE || access == M_FEATURE_VALUE_AS_STRING) {
        SimValue value;
        if (!in) {
            code = kMilErrorInvalidParameter;
            why = L"no value for '" + std::wstring(name) + L"'";
        } else if (access == M_FEATURE_VALUE_AS_STRING || IsTextType(type)) {
            const auto* text = static_cast<const MIL_TEXT_CHAR*>(in);
            value = SimValue::OfText(std::wstring(text, wcsnlen(text, kMaxWrittenText)));
        } else if (type == M_TYPE_DOUBLE) {
            value = SimValue::OfDouble(*static_cast<const MIL_DOUBLE*>(in));
        } else if (type == M_TYPE_INT64) {
            value = SimValue::OfInt(*static_cast<const MIL_INT64*>(in));
        } else if (type == M_TYPE_BOOLEAN) {
            // Passed on as the number it is: 0 and 1 suit a boolean, any value an integer feature.
            value = SimValue::OfInt(*static_cast<const MIL_BOOL*>(in));
        } else {
            code = kMilErrorInvalidParameter;
            why = L"type code " + std::to_wstring(type) + L" cannot carry a value";
        }
        if (code == kMilErrorNone)
            code = dig->Camera().Write(name, value, why);
    } else {
        code = kMilErrorInvalidParameter;
        why = L"access code " + std::to_wstring(access) + L" writes nothing";
    }
    if (code != kMilErrorNone)
        Fail(code, op, why);
}

// A number cannot be written "as text": the library would read it as characters.
bool RefuseNumberAsText(MIL_INT64 access) {
    if (access != M_FEATURE_VALUE_AS_STRING)
        return false;
    Fail(kMilErrorInvalidParameter, L"MdigControlFeature", L"a value written as text must be a text");
    return true;
}

} // namespace

MIL_ID MappAlloc(MIL_CONST_TEXT_PTR serverDescription, MIL_INT64 initFlag, MIL_ID* appIdPtr) {
    (void)initFlag;
    MilErrorState::Instance().Discard();
    if (serverDescription && *serverDescription && std::wcscmp(serverDescription, L"M_DEFAULT") != 0) {
        Fail(kMilErrorAllocation, L"MappAlloc", L"unknown server '" + std::wstring(serverDescription) + L"'");
        Store<MIL_ID>(appIdPtr, 0);
        return 0;
    }
    const MIL_ID id = Table().Add(std::make_shared<MilObject>(MilObject::Application, 0));
    Store(appIdPtr, id);
    return id;
}

void MappFree(MIL_ID appId) {
    if (auto app = Lookup(appId, MilObject::Application, L"MappFree")) {
        FreeTree(app->Id());
        MilErrorState::Instance().Discard();
    }
}

MIL_INT MappGetError(MIL_ID appId, MIL_INT64 errorType, void* errorPtr) {
    (void)appId;
    if ((errorType & ~M_MESSAGE) != M_CURRENT)
        return 0;
    std::wstring text;
    const MIL_INT code = MilErrorState::Instance().Take(&text);
    if (errorPtr && (errorType & M_MESSAGE))
        CopyText(text, static_cast<MIL_TEXT_CHAR*>(errorPtr), M_ERROR_MESSAGE_SIZE);
    else if (errorPtr)
        *static_cast<MIL_INT*>(errorPtr) = code;
    return code;
}

MIL_ID MsysAlloc(MIL_ID contextAppId, MIL_CONST_TEXT_PTR systemDescriptor, MIL_INT systemNum,
                 MIL_INT64 initFlag, MIL_ID* sysIdPtr) {
    (void)initFlag;
    const wchar_t* op = L"MsysAlloc";
    Store<MIL_ID>(sysIdPtr, 0);
    auto app = Lookup(contextAppId, MilObject::Application, op);
    if (!app)
        return 0;
    const std::wstring descriptor = systemDescriptor ? systemDescriptor : L"";
    if (descriptor != M_SYSTEM_RADIENTCXP && descriptor != M_SYSTEM_DEFAULT) {
        Fail(kMilErrorAllocation, op, L"no system '" + descriptor + L"' is installed");
        return 0;
    }
    if (systemNum != M_DEFAULT && systemNum != M_DEV0) {
        Fail(kMilErrorAllocation, op, L"there is no board " + std::to_wstring(systemNum));
        return 0;
    }
    const MIL_ID id = Table().Add(std::make_shared<MilObject>(MilObject::System, app->Id()));
    Store(sysIdPtr, id);
    return id;
}

void MsysFree(MIL_ID sysId) {
    if (auto sys = Lookup(sysId, MilObject::System, L"MsysFree"))
        FreeTree(sys->Id());
}

MIL_ID MdigAlloc(MIL_ID sysId, MIL_INT devNum, MIL_CONST_TEXT_PTR dataFormat, MIL_INT64 initFlag,
                 MIL_ID* digIdPtr) {
    (void)initFlag;
    const wchar_t* op = L"MdigAlloc";
    Store<MIL_ID>(digIdPtr, 0);
    auto sys = Lookup(sysId, MilObject::System, op);
    if (!sys)
        return 0;
    if (devNum != M_DEFAULT && devNum != M_DEV0) {
        Fail(kMilErrorAllocation, op, L"the board has no device " + std::to_wstring(devNum));
        return 0;
    }
    for (const auto& child : Table().OwnedBy(sys->Id()))
        if (child->GetKind() == MilObject::Digitizer) {
            Fail(kMilErrorAllocation, op, L"device 0 is already allocated");
            return 0;
        }
    SimCameraConfig config;
    std::wstring why;
    if (!config.Load(dataFormat ? dataFormat : L"", why)) {
        Fail(kMilErrorConfiguration, op, why);
        return 0;
    }
    auto dig = std::make_shared<SimDigitizer>(sys->Id(), SimCameraRegistry::Attach(config), config.bits);
    const MIL_ID id = Table().Add(dig);
    auto event = std::make_shared<SimGrabEvent>(id);
    Table().Add(event);
    dig->SetEvent(event);
    Store(digIdPtr, id);
    return id;
}

void MdigFree(MIL_ID digId) {
    auto dig = Lookup<SimDigitizer>(digId, MilObject::Digitizer, L"MdigFree");
    if (!dig)
        return;
    if (dig->OnGrabThread()) {
        Fail(kMilErrorBusy, L"MdigFree", L"a digitizer cannot be freed from its own grab hook");
        return;
    }
    dig->Halt();
    FreeTree(dig->Id());
}

MIL_INT MdigInquire(MIL_ID digId, MIL_INT64 inquireType, MIL_INT* userVarPtr) {
    auto dig = Lookup<SimDigitizer>(digId, MilObject::Digitizer, L"MdigInquire");
    MIL_INT value = 0;
    std::wstring why;
    if (!dig)
        return 0;
    if (const MIL_INT code = dig->Inquire(inquireType, value, why)) {
        Fail(code, L"MdigInquire", why);
        return 0;
    }
    Store(userVarPtr, value);
    return value;
}

void MdigControl(MIL_ID digId, MIL_INT64 controlType, MIL_DOUBLE controlValue) {
    auto dig = Lookup<SimDigitizer>(digId, MilObject::Digitizer, L"MdigControl");
    std::wstring why;
    if (!dig)
        return;
    if (const MIL_INT code = dig->Control(controlType, controlValue, why))
        Fail(code, L"MdigControl", why);
}

void MdigHookFunction(MIL_ID digId, MIL_INT hookType, MIL_DIG_HOOK_FUNCTION_PTR hookHandlerPtr,
                      void* userDataPtr) {
    auto dig = Lookup<SimDigitizer>(digId, MilObject::Digitizer, L"MdigHookFunction");
    std::wstring why;
    if (!dig)
        return;
    if (const MIL_INT code = dig->Hook(hookType, hookHandlerPtr, userDataPtr, why))
        Fail(code, L"MdigHookFunction", why);
}

void MdigGrabContinuous(MIL_ID digId, MIL_ID destImageBufId) {
    const wchar_t* op = L"MdigGrabContinuous";
    auto dig = Lookup<SimDigitizer>(digId, MilObject::Digitizer, op);
    if (!dig)
        return;
    auto buf = Lookup<SimBuffer>(destImageBufId, MilObject::Buffer, op);
    std::wstring why;
    if (!buf)
        return;
    if (const MIL_INT code = dig->Grab(buf, why))
        Fail(code, op, why);
}

void MdigHalt(MIL_ID digId) {
    if (auto dig = Lookup<SimDigitizer>(digId, MilObject::Digitizer, L"MdigHalt"))
        dig->Halt();
}

MIL_INT MdigGetHookInfo(MIL_ID eventId, MIL_INT64 infoType, MIL_ID* userVarPtr) {
    const wchar_t* op = L"MdigGetHookInfo";
    auto event = Lookup<SimGrabEvent>(eventId, MilObject::Event, op);
    if (!event)
        return 0;
    if (infoType != M_MODIFIED_BUFFER + M_BUFFER_ID) {
        Fail(kMilErrorInvalidParameter, op, L"unknown hook information " + std::to_wstring(infoType));
        return 0;
    }
    const MIL_ID id = event->modifiedBuffer.load();
    Store(userVarPtr, id);
    return id;
}

MIL_ID MbufAlloc2d(MIL_ID sysId, MIL_INT sizeX, MIL_INT sizeY, MIL_INT type, MIL_INT64 attribute,
                   MIL_ID* bufIdPtr) {
    const wchar_t* op = L"MbufAlloc2d";
    Store<MIL_ID>(bufIdPtr, 0);
    auto sys = Lookup(sysId, MilObject::System, op);
    if (!sys)
        return 0;
    if (sizeX < 1 || sizeY < 1 || sizeX > 65536 || sizeY > 65536) {
        Fail(kMilErrorAllocation, op,
             L"a buffer of " + std::to_wstring(sizeX) + L" x " + std::to_wstring(sizeY));
        return 0;
    }
    if (type != 8 + M_UNSIGNED && type != 16 + M_UNSIGNED) {
        Fail(kMilErrorAllocation, op, L"only 8- and 16-bit unsigned buffers: type " + std::to_wstring(type));
        return 0;
    }
    if (!(attribute & M_IMAGE)) {
        Fail(kMilErrorAllocation, op, L"the buffer must be an image buffer");
        return 0;
    }
    const MIL_ID id = Table().Add(std::make_shared<SimBuffer>(
        sys->Id(), static_cast<int>(sizeX), static_cast<int>(sizeY), static_cast<int>(type)));
    Store(bufIdPtr, id);
    return id;
}

void MbufFree(MIL_ID bufId) {
    auto buf = Lookup<SimBuffer>(bufId, MilObject::Buffer, L"MbufFree");
    if (!buf)
        return;
    if (buf->inUse) {
        Fail(kMilErrorBusy, L"MbufFree", L"a digitizer is grabbing into the buffer");
        return;
    }
    Table().Remove(buf->Id());
}

MIL_INT MbufInquire(MIL_ID bufId, MIL_INT64 inquireType, MIL_INT* userVarPtr) {
    auto buf = Lookup<SimBuffer>(bufId, MilObject::Buffer, L"MbufInquire");
    if (!buf)
        return 0;
    MIL_INT value = 0;
    if (inquireType == M_SIZE_X)
        value = buf->Width();
    else if (inquireType == M_SIZE_Y)
        value = buf->Height();
    else if (inquireType == M_SIZE_BIT)
        value = buf->Bits();
    else {
        Fail(kMilErrorInvalidParameter, L"MbufInquire", L"unknown inquiry " + std::to_wstring(inquireType));
        return 0;
    }
    Store(userVarPtr, value);
    return value;
}

void MbufGet2d(MIL_ID bufId, MIL_INT offX, MIL_INT offY, MIL_INT sizeX, MIL_INT sizeY, void* userArrayPtr) {
    const wchar_t* op = L"MbufGet2d";
    auto buf = Lookup<SimBuffer>(bufId, MilObject::Buffer, op);
    if (!buf)
        return;
    if (!userArrayPtr || offX < 0 || offY < 0 || sizeX < 1 || sizeY < 1 || offX + sizeX > buf->Width() ||
        offY + sizeY > buf->Height()) {
        Fail(kMilErrorInvalidParameter, op,
             userArrayPtr ? L"the region leaves the buffer" : L"no destination");
        return;
    }
    const std::size_t bps = static_cast<std::size_t>(buf->BytesPerSample());
    const std::size_t rowBytes = static_cast<std::size_t>(sizeX) * bps;
    auto* dst = static_cast<std::uint8_t*>(userArrayPtr);
    const std::uint8_t* src = buf->Data() + static_cast<std::size_t>(offY) * buf->Pitch() + offX * bps;
    if (rowBytes == buf->Pitch()) {
        std::memcpy(dst, src, rowBytes * static_cast<std::size_t>(sizeY));
        return;
    }
    for (MIL_INT r = 0; r < sizeY; ++r)
        std::memcpy(dst + r * rowBytes, src + r * buf->Pitch(), rowBytes);
}

void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64 userVarType, void* userVarPtr) {
    InquireFeature(digId, inquireType, featureName, userVarType, userVarPtr, M_FEATURE_TEXT_SIZE);
}

void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_DOUBLE* value) {
    InquireFeature(digId, inquireType, featureName, M_TYPE_DOUBLE, value, 0);
}

void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64* value) {
    InquireFeature(digId, inquireType, featureName, inquireType == M_FEATURE_TYPE ? M_DEFAULT : M_TYPE_INT64,
                   value, 0);
}

void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_BOOL* value) {
    InquireFeature(digId, inquireType, featureName, M_TYPE_BOOLEAN, value, 0);
}

void MdigInquireFeature(MIL_ID digId, MIL_INT64 inquireType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64 userVarType, MIL_TEXT_CHAR* buffer, MIL_INT bufferLength) {
    if (bufferLength <= 0) {
        Fail(kMilErrorInvalidParameter, L"MdigInquireFeature", L"a text read needs a buffer length");
        return;
    }
    InquireFeature(digId, inquireType, featureName, IsTextType(userVarType) ? userVarType : M_TYPE_STRING,
                   buffer, bufferLength);
}

void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64 userVarType, const void* userVarPtr) {
    ControlFeature(digId, controlType, featureName, userVarType, userVarPtr);
}

void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName,
                        MIL_DOUBLE value) {
    if (RefuseNumberAsText(controlType))
        return;
    ControlFeature(digId, controlType, featureName, M_TYPE_DOUBLE, &value);
}

void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName,
                        MIL_INT64 value) {
    if (RefuseNumberAsText(controlType))
        return;
    ControlFeature(digId, controlType, featureName, M_TYPE_INT64, &value);
}

void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName, MIL_BOOL value) {
    if (RefuseNumberAsText(controlType))
        return;
    ControlFeature(digId, controlType, featureName, M_TYPE_BOOLEAN, &value);
}

void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName,
                        MIL_CONST_TEXT_PTR value) {
    ControlFeature(digId, controlType, featureName, M_TYPE_STRING, value);
}

void MdigControlFeature(MIL_ID digId, MIL_INT64 controlType, MIL_CONST_TEXT_PTR featureName) {
    if (controlType != M_FEATURE_EXECUTE) {
        Fail(kMilErrorInvalidParameter, L"MdigControlFeature",
             L"a write without a value must execute a command");
        return;
    }
    ControlFeature(digId, controlType, featureName, M_TYPE_COMMAND, nullptr);
}

namespace kavrino {

std::wstring MilLastErrorText() {
    return MilErrorState::Instance().LastText();
}
MIL_INT MilLastErrorCode() {
    return MilErrorState::Instance().LastCode();
}
std::size_t MilObjectCount() {
    return MilObjectTable::Instance().Count();
}

} // namespace kavrino
