#pragma once
// Shift-JIS (code page 932) text, decoded only where it is shown.

#include <QString>
#include <string>

// Decodes `length` bytes; bytes that do not decode (a double-byte character cut in half)
// become U+FFFD, never a crash.
QString DecodeShiftJis(const char* bytes, int length);
inline QString DecodeShiftJis(const std::string& bytes) {
    return DecodeShiftJis(bytes.data(), static_cast<int>(bytes.size()));
}
std::string EncodeShiftJis(const QString& text);
