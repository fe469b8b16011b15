#pragma once
// The kinds of question made of two one-digit facts: 九九, たしざん, ひきざん and わりざん. A fact
// is held as it is shown: (a, b) for a × b and a ＋ b, (a + b, b) for the difference and
// (a × b, b) for the quotient. Each kind's one entry says how its fact is drawn, shown,
// answered, named in the records, placed in a grid and grouped for practice; the game, the
// records and practice all ask here rather than test the kind themselves.

#include <array>

#include "game/random.h"

constexpr int kOperands = 10;  // the game asks operands 0 to 9
constexpr int kLastTable = 9;  // 九九 goes up to the 9のだん

struct Operands {
    int a = 0;
    int b = 0;
    bool operator==(const Operands&) const = default;
};

// A fact's place in its kind's grid of kOperands × kOperands cells.
struct GridCell {
    int row = 0;
    int column = 0;
    bool operator==(const GridCell&) const = default;
};

// One kind's grid: [row][column].
template <typename T>
using FactGrid = std::array<std::array<T, kOperands>, kOperands>;

struct FactKind {
    int index;                         // 0 to kFactKinds - 1, the order of the menu
    int quizMode;                      // as held in CFizmoView::m_nQuizMode
    const char* format;                // the question line, Shift-JIS: "%d", sign, "%d = %s"
    const char* name;                  // UTF-8: the menu's words, and the sheet's 計算の種類
    const char* gridName;              // UTF-8, over its grid
    const char* sign;                  // UTF-8, as a sheet holds the question
    const char* rowHeading;            // UTF-8: what a grid's rows and columns are
    const char* columnHeading;         //
    const char* rowName;               // UTF-8, %1 for the row: its own name, as 7でわる
    int firstRow;                      // わりざん has no row 0: nothing is divided by 0
    bool tables;                       // practised by 段 (the row)
    bool carries;                      // grouped by くりあがり・くりさがり
    Operands (*draw)(Random& random);  // the kind's own draw: each fact equally likely
    int (*answer)(Operands shown);
    bool (*valid)(Operands shown);
    GridCell (*place)(Operands shown);
    Operands (*factAt)(GridCell cell);
    bool (*carry)(Operands shown);      // the sum behind it is 10 or more
    int (*cellNumber)(Operands shown);  // what its cell shows: the number neither heading gives
};

constexpr int kFactKinds = 4;

// Null for word problems.
const FactKind* KindOf(int quizMode);
const FactKind& KindAt(int index);

// Whether a cell holds a fact of the kind.
inline bool InGrid(const FactKind& kind, GridCell cell) {
    return cell.row >= kind.firstRow && cell.row < kOperands && cell.column >= 0 &&
           cell.column < kOperands;
}

// The game's own draw of 九九 and たしざん: two operands from 0 to 9, the first drawn first.
Operands DrawOperands(Random& random);
