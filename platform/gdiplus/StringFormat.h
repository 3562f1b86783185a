#pragma once
// How text is laid out in a rectangle: horizontal and vertical alignment, wrapping and clipping.

#include "GdiplusTypes.h"

namespace Gdiplus {

class StringFormat {
public:
    explicit StringFormat(INT formatFlags = 0, WORD language = 0) : m_flags(formatFlags) { (void)language; }
    StringFormat* Clone() const { return new StringFormat(*this); }

    Status SetAlignment(StringAlignment align) { return Set(m_align, align); }
    StringAlignment GetAlignment() const { return m_align; }
    Status SetLineAlignment(StringAlignment align) { return Set(m_lineAlign, align); }
    StringAlignment GetLineAlignment() const { return m_lineAlign; }
    Status SetFormatFlags(INT flags) {
        m_flags = flags;
        return m_lastStatus = Ok;
    }
    INT GetFormatFlags() const { return m_flags; }
    Status GetLastStatus() const { return m_lastStatus; }

    static const StringFormat* GenericDefault() {
        static const StringFormat format;
        return &format;
    }
    static const StringFormat* GenericTypographic() {
        static const StringFormat format(StringFormatFlagsNoClip | StringFormatFlagsLineLimit);
        return &format;
    }

private:
    Status Set(StringAlignment& field, StringAlignment value) {
        if (value < StringAlignmentNear || value > StringAlignmentFar)
            return m_lastStatus = InvalidParameter;
        field = value;
        return m_lastStatus = Ok;
    }

    INT m_flags;
    StringAlignment m_align = StringAlignmentNear;
    StringAlignment m_lineAlign = StringAlignmentNear;
    Status m_lastStatus = Ok;
};

} // namespace Gdiplus
