#include "CCmdTarget.h"

#include "CWaitCursor.h"

#include <memory>
#include <vector>

const kavrino::MessageMap* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const kavrino::MessageMap* CCmdTarget::GetThisMessageMap() {
    static const kavrino::MessageMapEntry kEntries[] = {{0, 0, 0, 0, nullptr}};
    static const kavrino::MessageMap kMap = {nullptr, kEntries};
    return &kMap;
}

const kavrino::MessageMapEntry* CCmdTarget::FindMessageEntry(UINT message, WPARAM wParam,
                                                             LPARAM lParam) const {
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header)
            return nullptr;
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
    }
    for (const kavrino::MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const kavrino::MessageMapEntry* e = map->entries; e->thunk; ++e) {
            if (e->message != message)
                continue;
            if (message == WM_COMMAND || message == WM_NOTIFY) {
                if (e->code == code && id >= e->idFirst && id <= e->idLast)
                    return e;
            } else {
                return e;
            }
        }
    }
    return nullptr;
}

bool CCmdTarget::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const kavrino::MessageMapEntry* e = FindMessageEntry(message, wParam, lParam);
    if (!e)
        return false;
    LRESULT r = e->thunk(this, message, wParam, lParam);
    if (result)
        *result = r;
    return true;
}

namespace {
std::vector<std::unique_ptr<CWaitCursor>>& WaitCursors() {
    static std::vector<std::unique_ptr<CWaitCursor>> cursors;
    return cursors;
}
} // namespace

void CCmdTarget::BeginWaitCursor() {
    WaitCursors().push_back(std::make_unique<CWaitCursor>());
}

void CCmdTarget::EndWaitCursor() {
    if (!WaitCursors().empty())
        WaitCursors().pop_back();
}
