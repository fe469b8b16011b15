#pragma once
// How the bytes given to the text calls are to be read.
enum class TextEncoding { ShiftJis, Utf8 };
