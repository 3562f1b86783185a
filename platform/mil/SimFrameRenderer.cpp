#include "SimFrameRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kavrino {

void SimFrameRenderer::Configure(int sensorWidth, int sensorHeight, bool color, int digitizerBits,
                                 int bufferBits) {
    m_scene = SimScene::Get(sensorWidth, sensorHeight, color);
    m_width = sensorWidth;
    m_height = sensorHeight;
    m_digitizerBits = digitizerBits;
    m_bufferBits = bufferBits;
    m_bytes = bufferBits > 8 ? 2 : 1;
    m_received.assign(static_cast<std::size_t>(m_width) * m_height * m_bytes, 0);
    for (auto& table : m_tables)
        table.resize(4096);
    m_columns.resize(static_cast<std::size_t>(m_width));
}

// A sample of formatBits as the grabber stores it: cut to the digitizer's depth, then to 8 bits for an
// 8-bit buffer. The value stays in the low bits of a 16-bit sample.
std::uint16_t SimFrameRenderer::Convert(double x, int formatBits) const {
    const int full = (1 << formatBits) - 1;
    int v = static_cast<int>(std::lround(std::clamp(x, 0.0, 1.0) * full));
    int bits = std::min(formatBits, m_digitizerBits);
    v >>= formatBits - bits;
    if (m_bufferBits <= 8 && bits > 8) {
        v >>= bits - 8;
    }
    return static_cast<std::uint16_t>(v);
}

void SimFrameRenderer::BuildTables(const SimImageSettings& s) {
    const double lutMax = s.lut.empty() ? 0.0 : static_cast<double>(s.lut.size() - 1);
    for (int t = 0; t < 4; ++t) {
        const double balance = t < 3 && s.bayer ? s.balance[t] : 1.0;
        const double scale = s.exposureScale * s.gain * balance / 4095.0;
        for (int i = 0; i < 4096; ++i) {
            double x = std::min(i * scale, 1.0) + s.blackLevel;
            x = std::min(x, 1.0);
            if (s.gammaEnable)
                x = std::pow(x, s.gamma);
            else if (s.lutEnable && lutMax > 0)
                x = s.lut[static_cast<std::size_t>(std::lround(x * lutMax))] / lutMax;
            m_tables[t][static_cast<std::size_t>(i)] = Convert(x, s.formatBits);
        }
    }
}

template <typename T> void SimFrameRenderer::RenderRows(const SimImageSettings& s) {
    const SimScene& scene = *m_scene;
    const int iw = std::min(s.imageWidth, m_width), ih = std::min(s.imageHeight, m_height);
    T* out = reinterpret_cast<T*>(m_received.data());
    for (int c = 0; c < iw; ++c) {
        const int bx = s.offsetX + (s.reverseX ? iw - 1 - c : c);
        m_columns[static_cast<std::size_t>(c)] = std::min(bx * s.factorX, m_width - 1);
    }
    const int* cols = m_columns.data();
    for (int r = 0; r < ih; ++r) {
        T* row = out + static_cast<std::size_t>(r) * m_width;
        const int by = s.offsetY + (s.reverseY ? ih - 1 - r : r);
        const int sy = std::min(by * s.factorY, m_height - 1);
        if (s.pattern == SimImageSettings::PatternHorizontalRamp) {
            for (int c = 0; c < iw; ++c)
                row[c] =
                    static_cast<T>(Convert(iw > 1 ? static_cast<double>(c) / (iw - 1) : 0.0, s.formatBits));
        } else if (s.pattern == SimImageSettings::PatternVerticalRamp) {
            const T v =
                static_cast<T>(Convert(ih > 1 ? static_cast<double>(r) / (ih - 1) : 0.0, s.formatBits));
            std::fill(row, row + iw, v);
        } else if (scene.Color() && s.bayer) {
            // BayerRG: R G on even rows, G B on odd rows, in the delivered image's own positions.
            const SimScene::Plane pa = (r & 1) ? SimScene::Green : SimScene::Red;
            const SimScene::Plane pb = (r & 1) ? SimScene::Blue : SimScene::Green;
            const std::uint16_t* a = scene.Row(pa, sy);
            const std::uint16_t* b = scene.Row(pb, sy);
            const std::uint16_t* ta = m_tables[pa].data();
            const std::uint16_t* tb = m_tables[pb].data();
            for (int c = 0; c + 1 < iw; c += 2) {
                row[c] = static_cast<T>(ta[a[cols[c]]]);
                row[c + 1] = static_cast<T>(tb[b[cols[c + 1]]]);
            }
            if (iw & 1)
                row[iw - 1] = static_cast<T>(ta[a[cols[iw - 1]]]);
        } else {
            const std::uint16_t* src = scene.Row(SimScene::Luma, sy);
            const std::uint16_t* table = m_tables[SimScene::Luma].data();
            for (int c = 0; c < iw; ++c)
                row[c] = static_cast<T>(table[src[cols[c]]]);
        }
        std::fill(row + iw, row + m_width, T(0));
    }
    std::fill(out + static_cast<std::size_t>(ih) * m_width,
              out + static_cast<std::size_t>(m_height) * m_width, T(0));
}

void SimFrameRenderer::Rebuild(const SimImageSettings& s) {
    if (!m_scene)
        return;
    BuildTables(s);
    if (m_bytes == 1)
        RenderRows<std::uint8_t>(s);
    else
        RenderRows<std::uint16_t>(s);
}

void SimFrameRenderer::Deliver(int x, int y, int width, int height, std::uint8_t* dst, std::size_t dstPitch,
                               int dstWidth, int dstHeight) const {
    width = std::min({width, dstWidth, m_width - x});
    height = std::min({height, dstHeight, m_height - y});
    if (width <= 0 || height <= 0 || x < 0 || y < 0)
        return;
    const std::size_t srcPitch = static_cast<std::size_t>(m_width) * m_bytes;
    const std::size_t bytes = static_cast<std::size_t>(width) * m_bytes;
    const std::uint8_t* src = m_received.data() + static_cast<std::size_t>(y) * srcPitch + x * m_bytes;
    if (bytes == srcPitch && bytes == dstPitch) {
        std::memcpy(dst, src, bytes * height);
        return;
    }
    for (int r = 0; r < height; ++r)
        std::memcpy(dst + r * dstPitch, src + r * srcPitch, bytes);
}

} // namespace kavrino
