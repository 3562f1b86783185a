#pragma once
// The base of the drawing objects a device context selects: pen, brush, font.

#include "UiDefs.h"

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Non-null once the object has been created.
    HGDIOBJ GetSafeHandle() const {
        return m_created ? reinterpret_cast<HGDIOBJ>(const_cast<CGdiObject*>(this)) : nullptr;
    }
    BOOL DeleteObject() {
        BOOL was = m_created ? TRUE : FALSE;
        m_created = false;
        return was;
    }

protected:
    bool m_created = false;
};
