#pragma once
// Little-endian byte building for the file formats we write by hand.

#include <QByteArray>
#include <cstdint>

namespace resgen {

class Bytes {
public:
    Bytes& U8(unsigned v) {
        data_.append(static_cast<char>(v & 0xFF));
        return *this;
    }
    Bytes& U16(unsigned v) { return U8(v).U8(v >> 8); }
    Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Bytes& Tag(const char (&tag)[5]) {
        data_.append(tag, 4);
        return *this;
    }
    Bytes& Raw(const QByteArray& bytes) {
        data_.append(bytes);
        return *this;
    }
    Bytes& Zeros(int count) {
        data_.append(count, '\0');
        return *this;
    }
    int size() const { return static_cast<int>(data_.size()); }
    const QByteArray& data() const { return data_; }

private:
    QByteArray data_;
};

// Big-endian, for PNG.
inline void AppendBe32(QByteArray& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.append(static_cast<char>((v >> shift) & 0xFF));
}

}  // namespace resgen
