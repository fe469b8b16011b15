#include "game/fact_kind.h"

#include "game/fizmo_view.h"
#include "game/texts.h"

namespace {

constexpr int kCarryFrom = 10;  // a sum of 10 or more carries, and its inverse borrows

int Digit(Random& random) {
    return random.Rand() % kOperands;
}

bool OneDigit(int n) {
    return n >= 0 && n < kOperands;
}

// The sum and the product: (a, b) as drawn, placed in row a and column b.
int Product(Operands f) {
    return f.a * f.b;
}
int Sum(Operands f) {
    return f.a + f.b;
}
bool BothDigits(Operands f) {
    return OneDigit(f.a) && OneDigit(f.b);
}
GridCell AsDrawn(Operands f) {
    return {f.a, f.b};
}
Operands AtCell(GridCell cell) {
    return {cell.row, cell.column};
}
bool SumCarries(Operands f) {
    return f.a + f.b >= kCarryFrom;
}
bool NoCarry(Operands) {
    return false;
}
int First(Operands f) {
    return f.a;
}

// The difference (a + b) − b: placed by what is taken away (the row) and the answer.
Operands DrawDifference(Random& random) {
    const int a = Digit(random);
    const int b = Digit(random);
    return {a + b, b};
}
int Difference(Operands f) {
    return f.a - f.b;
}
bool DifferenceValid(Operands f) {
    return OneDigit(f.b) && OneDigit(f.a - f.b);
}
GridCell DifferenceCell(Operands f) {
    return {f.b, f.a - f.b};
}
Operands DifferenceAt(GridCell cell) {
    return {cell.column + cell.row, cell.row};
}
bool DifferenceBorrows(Operands f) {
    return f.a >= kCarryFrom;
}

// The quotient (a × b) ÷ b, never ÷ 0: placed by the divisor (the row) and the answer.
Operands DrawQuotient(Random& random) {
    const int b = 1 + random.Rand() % kLastTable;
    const int a = Digit(random);
    return {a * b, b};
}
int Quotient(Operands f) {
    return f.b > 0 ? f.a / f.b : 0;
}
bool QuotientValid(Operands f) {
    return f.b >= 1 && f.b <= kLastTable && f.a % f.b == 0 && OneDigit(f.a / f.b);
}
GridCell QuotientCell(Operands f) {
    return {f.b, Quotient(f)};
}
Operands QuotientAt(GridCell cell) {
    return {cell.column * cell.row, cell.row};
}

// In the menu's order.
constexpr FactKind kKinds[kFactKinds] = {
    {0, kQuizTimesTable, texts::kTimesFormat, "九九の計算", "九九", "×", "だん", "かける数",
     "%1のだん", 0, true, false, DrawOperands, Product, BothDigits, AsDrawn, AtCell, NoCarry,
     Product},
    {1, kQuizAddition, texts::kAdditionFormat, "一ケタのたしざん", "たしざん", "＋", "たされる数",
     "たす数", "%1をたす", 0, false, true, DrawOperands, Sum, BothDigits, AsDrawn, AtCell,
     SumCarries, Sum},
    {2, kQuizSubtraction, texts::kSubtractionFormat, "ひきざん", "ひきざん", "－", "ひく数",
     "こたえ", "%1をひく", 0, false, true, DrawDifference, Difference, DifferenceValid,
     DifferenceCell, DifferenceAt, DifferenceBorrows, First},
    {3, kQuizDivision, texts::kDivisionFormat, "わりざん", "わりざん", "÷", "わる数", "こたえ",
     "%1でわる", 1, true, false, DrawQuotient, Quotient, QuotientValid, QuotientCell, QuotientAt,
     NoCarry, First},
};

}  // namespace

Operands DrawOperands(Random& random) {
    Operands drawn;
    drawn.a = Digit(random);
    drawn.b = Digit(random);
    return drawn;
}

const FactKind* KindOf(int quizMode) {
    for (const FactKind& kind : kKinds)
        if (kind.quizMode == quizMode) return &kind;
    return nullptr;
}

const FactKind& KindAt(int index) {
    return kKinds[index];
}
