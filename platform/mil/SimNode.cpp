#include "SimNode.h"

#include "StringConv.h"

namespace kavrino {

namespace {
[[noreturn]] void Throw(const std::wstring& why) {
    throw GenICam::GenericException(WideToUtf8(why));
}
} // namespace

SimNode::SimNode(std::shared_ptr<SimCamera> camera, std::wstring name)
    : m_camera(std::move(camera)), m_name(std::move(name)) {}

GenICam::gcstring SimNode::GetName() const {
    return WideToUtf8(m_name);
}

GenApi::EInterfaceType SimNode::GetPrincipalInterfaceType() const {
    SimFeature::Type type;
    bool readable = false, writable = false;
    if (!m_camera->Describe(m_name, type, readable, writable))
        return GenApi::intfIBase;
    switch (type) {
    case SimFeature::Command:
        return GenApi::intfICommand;
    case SimFeature::Float:
        return GenApi::intfIFloat;
    case SimFeature::String:
        return GenApi::intfIString;
    case SimFeature::Boolean:
        return GenApi::intfIBoolean;
    case SimFeature::Enumeration:
        return GenApi::intfIEnumeration;
    case SimFeature::Integer:
        return GenApi::intfIInteger;
    }
    return GenApi::intfIBase;
}

GenApi::EAccessMode SimNode::GetAccessMode() const {
    SimFeature::Type type;
    bool readable = false, writable = false;
    if (!m_camera->Describe(m_name, type, readable, writable))
        return GenApi::NI;
    return readable && writable ? GenApi::RW : readable ? GenApi::RO : writable ? GenApi::WO : GenApi::NA;
}

SimValue SimNode::Read(SimCamera::Query query) const {
    SimValue value;
    std::wstring why;
    if (m_camera->Read(m_name, query, false, value, why) != kMilErrorNone)
        Throw(why);
    return value;
}

void SimNode::Write(const SimValue& value) {
    std::wstring why;
    if (m_camera->Write(m_name, value, why) != kMilErrorNone)
        Throw(why);
}

void SimNode::Run() {
    std::wstring why;
    if (m_camera->Execute(m_name, why) != kMilErrorNone)
        Throw(why);
}

} // namespace kavrino
