// SPDX-License-Identifier: AGPL-3.0-or-later
#include "platform/SystemPath.h"

#ifdef Q_OS_WIN

std::string SystemPath(const QString& path) {
    return path.toStdString();
}

QString PathFromSystem(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool IsTextPath(const QString&) {
    return true;
}

#else

namespace {

constexpr char16_t kEscapedByte = 0xDC00; // plus the byte, 0x80 to 0xFF

// Qt's own encoder for what is text; only the escaped bytes are this file's.
void AppendUtf8(std::string& out, const QString& text) {
    out += text.toUtf8().toStdString();
}

// The length of the well-formed UTF-8 sequence at `at` (no overlong forms, no surrogates, nothing
// beyond U+10FFFF) and its code point, or 0.
std::size_t Utf8Sequence(std::string_view s, std::size_t at, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, least = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, least = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, least = 0x10000, c = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > s.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string SystemPath(const QString& path) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() && path.at(i + 1).isLowSurrogate()) {
            AppendUtf8(bytes, path.mid(i, 2));
            ++i;
        } else if (unit >= kEscapedByte + 0x80 && unit <= kEscapedByte + 0xFF) {
            bytes += static_cast<char>(unit - kEscapedByte);
        } else if (QChar::isSurrogate(unit)) {
            AppendUtf8(bytes, QString(QChar(QChar::ReplacementCharacter)));
        } else {
            AppendUtf8(bytes, QString(path.at(i)));
        }
    }
    return bytes;
}

QString PathFromSystem(std::string_view bytes) {
    QString path;
    path.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t c = 0;
        if (const std::size_t length = Utf8Sequence(bytes, at, c)) {
            path += QString::fromUcs4(&c, 1);
            at += length;
        } else {
            path += QChar(static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(bytes[at])));
            ++at;
        }
    }
    return path;
}

bool IsTextPath(const QString& path) {
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path.at(i).isHighSurrogate() && i + 1 < path.size() && path.at(i + 1).isLowSurrogate())
            ++i;
        else if (path.at(i).isSurrogate())
            return false;
    }
    return true;
}

#endif
