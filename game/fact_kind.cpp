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
    {.index = 0,
     .quizMode = kQuizTimesTable,
     .format = texts::kTimesFormat,
     .name = "九九の計算",
     .gridName = "九九",
     .sign = "×",
     .rowHeading = "だん",
     .columnHeading = "かける数",
     .rowName = "%1のだん",
     .firstRow = 0,
     .tables = true,
     .carries = false,
     .draw = DrawOperands,
     .answer = Product,
     .valid = BothDigits,
     .place = AsDrawn,
     .factAt = AtCell,
     .carry = NoCarry,
     .cellNumber = Product},
    {.index = 1,
     .quizMode = kQuizAddition,
     .format = texts::kAdditionFormat,
     .name = "一ケタのたしざん",
     .gridName = "たしざん",
     .sign = "＋",
     .rowHeading = "たされる数",
     .columnHeading = "たす数",
     .rowName = "%1をたす",
     .firstRow = 0,
     .tables = false,
     .carries = true,
     .draw = DrawOperands,
     .answer = Sum,
     .valid = BothDigits,
     .place = AsDrawn,
     .factAt = AtCell,
     .carry = SumCarries,
     .cellNumber = Sum},
    {.index = 2,
     .quizMode = kQuizSubtraction,
     .format = texts::kSubtractionFormat,
     .name = "ひきざん",
     .gridName = "ひきざん",
     .sign = "－",
     .rowHeading = "ひく数",
     .columnHeading = "こたえ",
     .rowName = "%1をひく",
     .firstRow = 0,
     .tables = false,
     .carries = true,
     .draw = DrawDifference,
     .answer = Difference,
     .valid = DifferenceValid,
     .place = DifferenceCell,
     .factAt = DifferenceAt,
     .carry = DifferenceBorrows,
     .cellNumber = First},
    {.index = 3,
     .quizMode = kQuizDivision,
     .format = texts::kDivisionFormat,
     .name = "わりざん",
     .gridName = "わりざん",
     .sign = "÷",
     .rowHeading = "わる数",
     .columnHeading = "こたえ",
     .rowName = "%1でわる",
     .firstRow = 1,
     .tables = true,
     .carries = false,
     .draw = DrawQuotient,
     .answer = Quotient,
     .valid = QuotientValid,
     .place = QuotientCell,
     .factAt = QuotientAt,
     .carry = NoCarry,
     .cellNumber = First},
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
