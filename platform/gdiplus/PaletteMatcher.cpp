#include "PaletteMatcher.h"

namespace kavrino::gdip {

namespace {
inline long Channel(Gdiplus::ARGB c, int shift) {
    return static_cast<long>((c >> shift) & 0xFF);
}
} // namespace

BYTE PaletteMatcher::Nearest(Gdiplus::ARGB color) {
    auto found = m_cache.find(color);
    if (found != m_cache.end())
        return found->second;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < m_count; ++i) {
        const Gdiplus::ARGB p = m_palette[i];
        const long dr = Channel(p, 16) - Channel(color, 16);
        const long dg = Channel(p, 8) - Channel(color, 8);
        const long db = Channel(p, 0) - Channel(color, 0);
        const long da = Channel(p, 24) - Channel(color, 24);
        const long distance = dr * dr + dg * dg + db * db + da * da;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    const BYTE index = static_cast<BYTE>(best);
    m_cache.emplace(color, index);
    return index;
}

} // namespace kavrino::gdip
