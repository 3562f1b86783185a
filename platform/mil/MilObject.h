#pragma once
// Base of every object the imaging library hands out an identifier for.

#include "Mil.h"

namespace kavrino {

class MilObject {
public:
    enum Kind { Application, System, Digitizer, Buffer, Event };

    MilObject(Kind kind, MIL_ID owner) : m_kind(kind), m_owner(owner) {}
    virtual ~MilObject() = default;
    MilObject(const MilObject&) = delete;
    MilObject& operator=(const MilObject&) = delete;

    Kind GetKind() const { return m_kind; }
    // The object this one was allocated on (application of a system, system of a digitizer ...).
    MIL_ID Owner() const { return m_owner; }
    MIL_ID Id() const { return m_id; }
    void SetId(MIL_ID id) { m_id = id; }

private:
    Kind m_kind;
    MIL_ID m_owner;
    MIL_ID m_id = 0;
};

} // namespace kavrino
