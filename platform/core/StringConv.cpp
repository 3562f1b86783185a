#include "StringConv.h"

#include <QByteArray>
#include <QString>
#include <QTextCodec>

namespace kavrino {

std::string WideToUtf8(const std::wstring& wide) {
    std::string out;
    out.reserve(wide.size());
    for (wchar_t wc : wide) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

namespace {

// Decodes one UTF-8 sequence at i; returns the code point and advances i, or returns -1 (i advanced by
// one byte) for a malformed sequence.
long DecodeUtf8(const std::string& s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int len;
    std::uint32_t c;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        c = b0 & 0x07;
    } else {
        ++i;
        return -1;
    }
    if (i + len > s.size()) {
        ++i;
        return -1;
    }
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        c = (c << 6) | (b & 0x3F);
    }
    static const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < minimum[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return -1;
    }
    i += len;
    return static_cast<long>(c);
}

} // namespace

std::wstring Utf8ToWide(const std::string& utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const long c = DecodeUtf8(utf8, i);
        out.push_back(c < 0 ? L'\xFFFD' : static_cast<wchar_t>(c));
    }
    return out;
}

bool IsValidUtf8(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        if (DecodeUtf8(bytes, i) < 0)
            return false;
    }
    return true;
}

std::wstring Cp949ToWide(const std::string& bytes) {
    QTextCodec* codec = QTextCodec::codecForName("CP949");
    if (!codec)
        return Utf8ToWide(bytes);
    const QString text = codec->toUnicode(bytes.data(), static_cast<int>(bytes.size()));
    return text.toStdWString();
}

std::string WideToCp949(const std::wstring& wide) {
    QTextCodec* codec = QTextCodec::codecForName("CP949");
    if (!codec)
        return WideToUtf8(wide);
    const QByteArray out = codec->fromUnicode(QString::fromStdWString(wide));
    return std::string(out.constData(), static_cast<std::size_t>(out.size()));
}

} // namespace kavrino
