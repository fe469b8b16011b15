#include "tools/resgen/wav_writer.h"

#include "tools/resgen/bytes.h"

namespace resgen {
namespace {

constexpr int kTitleBytes = 16;
constexpr int kCommentBytes = 38;

// A text field of exactly `size` bytes: the text, then zeros (at least one).
QByteArray Field(const std::string& text, int size) {
    QByteArray field = QByteArray::fromStdString(text).left(size - 1);
    field.append(size - field.size(), '\0');
    return field;
}

QByteArray ListChunk(const Wave& wave) {
    Bytes b;
    b.Tag("LIST").U32(kListChunkBytes - 8).Tag("INFO");
    b.Tag("INAM").U32(kTitleBytes).Raw(Field(wave.name, kTitleBytes));
    b.Tag("ICMT").U32(kCommentBytes).Raw(Field(wave.comment, kCommentBytes));
    return b.data();
}

}  // namespace

QByteArray WriteWav(const Wave& wave) {
    const int dataBytes = static_cast<int>(wave.pcm.size());
    const int pad = dataBytes % 2;
    const int listBytes = wave.comment.empty() ? 0 : kListChunkBytes;
    const int blockAlign = wave.channels;  // one byte per sample
    Bytes b;
    b.Tag("RIFF").U32(4 + 24 + 8 + dataBytes + pad + listBytes).Tag("WAVE");
    b.Tag("fmt ").U32(16).U16(1).U16(wave.channels).U32(wave.rate);
    b.U32(wave.rate * blockAlign).U16(blockAlign).U16(8);
    b.Tag("data").U32(dataBytes);
    b.Raw(QByteArray(reinterpret_cast<const char*>(wave.pcm.data()), dataBytes)).Zeros(pad);
    if (listBytes) b.Raw(ListChunk(wave));
    return b.data();
}

}  // namespace resgen
