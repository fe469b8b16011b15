#include "platform/sjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// ICU's "windows-31j" is code page 932 itself (0x5C is a backslash, NEC and IBM extensions).
constexpr const char* kCodePage = "windows-31j";
}  // namespace

QString DecodeShiftJis(const char* bytes, int length) {
    if (!bytes || length <= 0) return {};
    thread_local QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(bytes, length));
}

std::string EncodeShiftJis(const QString& text) {
    thread_local QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
