#pragma once
// The root of every class that receives messages: it owns the message-map lookup.

#include "MessageMap.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    virtual const kavrino::MessageMap* GetMessageMap() const;

    // The handler of this class chain for the message, or null. For WM_COMMAND the id and code come from
    // wParam; for WM_NOTIFY from the NMHDR that lParam points to.
    const kavrino::MessageMapEntry* FindMessageEntry(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Calls the handler when there is one; false when the map has none.
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // A wait cursor for the duration of a long operation.
    void BeginWaitCursor();
    void EndWaitCursor();

protected:
    static const kavrino::MessageMap* GetThisMessageMap();
};
