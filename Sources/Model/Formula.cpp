// Formula parsing and evaluation: a recursive-descent parser over an upper-cased copy of the text,
// with every binary operator left-associative, and a tree evaluator that reports failures by number.
#include "Model/Formula.h"

#include "Other/MathPrimitives.h"
#include "Other/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

SInt16 FormulaError = 0;
double FormulaPi = 3.141592653589793;
double FormulaAngleFactor = 3.141592653589793 / 180.0;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kE = 2.718281828459045;

enum : SInt16 {
    kValueNode = 0, // number, constant or variable: the value cell is all there is
    kNegate = 10,
    kAdd = 20,
    kSubtract = 21,
    kMultiply = 30,
    kDivide = 31,
    kSqrt = 41,
    kSin = 50,
    kCos = 51,
    kTan = 52,
    kCot = 53,
    kArcSin = 60,
    kArcCos = 61,
    kArcTan = 62,
    kArcCot = 63,
    kSinh = 70,
    kCosh = 71,
    kTanh = 72,
    kCoth = 73,
    kArsinh = 80,
    kArcosh = 81,
    kArtanh = 82,
    kArcoth = 83,
    kLn = 90,
    kLg = 91,
    kLd = 92,
    kExp = 100,
    kPower = 101,
    kAbs = 110,
    kFrac = 120,
};

struct Keyword {
    const char* text;
    SInt16 code;
};

// Longest forms first where they share a beginning.
const Keyword kKeywords[] = {
    {"LN", kLn},          {"LG", kLg},        {"LD", kLd},          {"SINH", kSinh},
    {"COSH", kCosh},      {"TANH", kTanh},    {"COTH", kCoth},      {"SQRT", kSqrt},
    {"FRAC", kFrac},      {"LOG", kLg},       {"EXP", kExp},        {"SIN", kSin},
    {"COS", kCos},        {"TAN", kTan},      {"COT", kCot},        {"ABS", kAbs},
    {"ARCSINH", kArsinh}, {"ASINH", kArsinh}, {"ARCCOSH", kArcosh}, {"ACOSH", kArcosh},
    {"ARCTANH", kArtanh}, {"ATANH", kArtanh}, {"ARCCOTH", kArcoth}, {"ACOTH", kArcoth},
    {"ARCSIN", kArcSin},  {"ASIN", kArcSin},  {"ARCCOS", kArcCos},  {"ACOS", kArcCos},
    {"ARCTAN", kArcTan},  {"ATAN", kArcTan},  {"ARCCOT", kArcCot},  {"ACOT", kArcCot},
};

} // namespace

struct FormulaNode {
    // A number or constant keeps its value here; a variable node points at the record instead,
    // which it does not own.
    double constant = 0;
    const double* value = nullptr;
    SInt16 code = kValueNode;
    std::unique_ptr<FormulaNode> first;
    std::unique_ptr<FormulaNode> second;
};

struct FormulaList {
    std::vector<std::unique_ptr<FormulaNode>> formulas;
};

namespace {

using NodePtr = std::unique_ptr<FormulaNode>;

// The scanner, one parse at a time.
struct Scanner {
    unsigned char text[256];
    int length = 0;
    int pos = 1;      // 1-based position of ch
    int tokenEnd = 0; // position right after the last token taken
    unsigned char ch = 0;
    VariableRecord* variables = nullptr;
    SInt16 error = 0;
};

Scanner gScan;

unsigned char CharAt(int pos) {
    return (pos >= 1 && pos <= gScan.length) ? gScan.text[pos] : 0;
}

void SkipBlanks() {
    while (CharAt(gScan.pos) == ' ')
        ++gScan.pos;
    gScan.ch = CharAt(gScan.pos);
}

// Moves past the current token of `width` characters to the next character that is not a blank.
void NextFormulaChar(int width = 1) {
    gScan.pos += width;
    gScan.tokenEnd = gScan.pos;
    SkipBlanks();
}

void StartScan(const unsigned char* text, int length, VariableRecord* variables) {
    gScan.length = length;
    for (int i = 1; i <= length; ++i) {
        unsigned char c = text[i - 1];
        gScan.text[i] = (c >= 'a' && c <= 'z') ? UInt8(c - 'a' + 'A') : c;
    }
    gScan.variables = variables;
    gScan.error = 0;
    gScan.pos = 1;
    gScan.tokenEnd = 0;
    SkipBlanks();
}

NodePtr Fail(SInt16 code) {
    if (gScan.error == 0) gScan.error = code;
    return nullptr;
}

NodePtr MakeNode(SInt16 code, NodePtr first, NodePtr second = nullptr) {
    NodePtr node = std::make_unique<FormulaNode>();
    node->code = code;
    node->first = std::move(first);
    node->second = std::move(second);
    return node;
}

NodePtr MakeConstant(double value) {
    NodePtr node = std::make_unique<FormulaNode>();
    node->constant = value;
    node->value = &node->constant;
    return node;
}

bool TextAt(int pos, const unsigned char* s, int n) {
    // Never compares past the end of the text.
    if (n <= 0 || pos < 1 || pos + n - 1 > gScan.length) return false;
    for (int i = 0; i < n; ++i) {
        unsigned char c = s[i];
        if (c >= 'a' && c <= 'z') c = UInt8(c - 'a' + 'A');
        if (gScan.text[pos + i] != c) return false;
    }
    return true;
}

NodePtr ParseSum();

NodePtr ParseNumber() {
    char digits[260];
    int n = 0, p = gScan.pos;
    bool separator = false;
    for (;; ++p) {
        unsigned char c = CharAt(p);
        if (c >= '0' && c <= '9') {
            digits[n++] = char(c);
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
            digits[n++] = '.';
        } else {
            break;
        }
    }
    double value = 0;
    if (n > 1 || (n == 1 && digits[0] != '.'))
        std::from_chars(digits, digits + n, value, std::chars_format::fixed);
    NextFormulaChar(p - gScan.pos);
    return MakeConstant(value);
}

NodePtr ParseFactor() {
    unsigned char c = gScan.ch;
    if (c == '(') {
        NextFormulaChar();
        NodePtr inner = ParseSum();
        if (gScan.error) return nullptr;
        if (gScan.ch != ')') return Fail(kFormulaMissingCloseParen);
        NextFormulaChar();
        return inner;
    }
    for (const Keyword& k : kKeywords) {
        int n = int(std::strlen(k.text));
        if (!TextAt(gScan.pos, reinterpret_cast<const unsigned char*>(k.text), n)) continue;
        NextFormulaChar(n);
        if (gScan.ch != '(') return Fail(kFormulaMissingOpenParen);
        NextFormulaChar();
        NodePtr argument = ParseSum();
        if (gScan.error) return nullptr;
        if (gScan.ch != ')') return Fail(kFormulaMissingCloseParen);
        NextFormulaChar();
        return MakeNode(k.code, std::move(argument));
    }
    for (VariableRecord* v = gScan.variables; v; v = v->next) {
        if (!TextAt(gScan.pos, v->name + 1, v->name[0])) continue;
        NextFormulaChar(v->name[0]);
        NodePtr node = std::make_unique<FormulaNode>();
        node->value = &v->value;
        return node;
    }
    if (TextAt(gScan.pos, reinterpret_cast<const unsigned char*>("PI"), 2)) {
        NextFormulaChar(2);
        return MakeConstant(FormulaPi);
    }
    if (c == 'E') {
        NextFormulaChar();
        return MakeConstant(kE);
    }
    if ((c >= '0' && c <= '9') || c == '.' || c == ',') return ParseNumber();
    // At the end, or straight after an operator, an operand is missing; elsewhere the character
    // itself is wrong.
    if (c == 0 || c == ' ' || gScan.pos == gScan.tokenEnd) return Fail(kFormulaMissingOperand);
    return Fail(kFormulaUnexpectedChar);
}

NodePtr ParseUnary() {
    if (gScan.ch == '-') {
        NextFormulaChar();
        NodePtr operand = ParseFactor();
        if (gScan.error) return nullptr;
        return MakeNode(kNegate, std::move(operand));
    }
    if (gScan.ch == '+') NextFormulaChar();
    return ParseFactor();
}

// One left-associative level: operand { operator operand }, each operator making a node at once.
template <class Operand> NodePtr ParseLevel(Operand operand, SInt16 (*operatorCode)(unsigned char)) {
    NodePtr left = operand();
    SInt16 code;
    while (!gScan.error && (code = operatorCode(gScan.ch)) != 0) {
        NextFormulaChar();
        NodePtr right = operand();
        if (gScan.error) return nullptr;
        left = MakeNode(code, std::move(left), std::move(right));
    }
    return gScan.error ? nullptr : std::move(left);
}

SInt16 PowerOperator(unsigned char c) {
    return c == '^' ? kPower : 0;
}
SInt16 ProductOperator(unsigned char c) {
    return c == '*' ? kMultiply : c == '/' ? kDivide : 0;
}
SInt16 SumOperator(unsigned char c) {
    return c == '+' ? kAdd : c == '-' ? kSubtract : 0;
}

NodePtr ParsePower() {
    return ParseLevel(ParseUnary, PowerOperator);
}
NodePtr ParseTerm() {
    return ParseLevel(ParsePower, ProductOperator);
}
NodePtr ParseSum() {
    return ParseLevel(ParseTerm, SumOperator);
}

bool AllBlank(ConstStringPtr s) {
    for (int i = 1; i <= s[0]; ++i)
        if (s[i] != ' ') return false;
    return true;
}

// Parses one whole formula; leftover text after a complete expression is error 4. Positions are
// given in the caller's text, through the map the feet-inch rewriting leaves.
NodePtr ParseWhole(ConstStringPtr text, VariableRecord* variables, SInt16* error, SInt16* position) {
    *error = 0;
    *position = 0;
    if (AllBlank(text)) {
        *error = kFormulaEmpty;
        *position = 1;
        return nullptr;
    }
    unsigned char rewritten[255];
    UInt16 map[256] = {};
    UInt16 length = 0, errorPosition = 0;
    SInt16 err = RewriteFeetInchLiterals(text + 1, text[0], rewritten, &length, &errorPosition, map);
    if (err != 0) {
        *error = err;
        *position = SInt16(errorPosition);
        return nullptr;
    }
    StartScan(rewritten, length, variables);
    NodePtr tree = ParseSum();
    if (!gScan.error && gScan.ch != 0) Fail(kFormulaUnexpectedChar);
    if (gScan.error) {
        *error = gScan.error;
        *position = gScan.pos <= length ? SInt16(map[gScan.pos]) : SInt16(text[0] + 1);
        return nullptr;
    }
    return tree;
}

double SetError(SInt16 code) {
    FormulaError = code;
    return 0.0;
}

double FormulaMathDiv(double a, double b) {
    return b == 0 ? SetError(kFormulaDivisionError) : a / b;
}

double PowerOfPositive(double x, double y) {
    return y < 0 ? 1.0 / std::exp(std::fabs(y) * std::log(x)) : std::exp(y * std::log(x));
}

double FormulaPower(double x, double y) {
    if (x == 0) return 0.0;
    if (y == 0) return 1.0;
    if (x > 0) return PowerOfPositive(x, y);
    if (y != TruncateTowardZero(y)) return SetError(kFormulaPowerError);
    double p = PowerOfPositive(-x, y);
    return std::fmod(y, 2.0) != 0 ? -p : p;
}

double EvalFormulaTree(const FormulaNode* node) {
    if (!node) return 0.0;
    if (node->code == kValueNode) return node->value ? *node->value : 0.0;
    double x = EvalFormulaTree(node->first.get());
    double f = FormulaAngleFactor;
    switch (node->code) {
    case kNegate:
        return -x;
    case kAdd:
        return x + EvalFormulaTree(node->second.get());
    case kSubtract:
        return x - EvalFormulaTree(node->second.get());
    case kMultiply:
        return x * EvalFormulaTree(node->second.get());
    case kDivide:
        return FormulaMathDiv(x, EvalFormulaTree(node->second.get()));
    case kPower:
        return FormulaPower(x, EvalFormulaTree(node->second.get()));
    case kSin:
        return std::sin(x * f);
    case kCos:
        return std::cos(x * f);
    case kTan: {
        double c = std::cos(x * f);
        return c == 0 ? SetError(kFormulaTanError) : std::sin(x * f) / c;
    }
    case kCot: {
        double s = std::sin(x * f);
        return s == 0 ? SetError(kFormulaCotError) : std::cos(x * f) / s;
    }
    case kArcSin:
        if (std::fabs(x) > 1) return SetError(kFormulaArcSinError);
        if (std::fabs(x) == 1) return (x > 0 ? kPi / 2 : -kPi / 2) / f;
        return std::atan(x / std::sqrt(1 - x * x)) / f;
    case kArcCos:
        if (std::fabs(x) > 1) return SetError(kFormulaArcCosError);
        if (x == 1) return 0.0;
        if (x == -1) return kPi / f;
        return (kPi / 2 - std::atan(x / std::sqrt(1 - x * x))) / f;
    case kArcTan:
        return std::atan(x) / f;
    case kArcCot:
        return (kPi / 2 - std::atan(x)) / f;
    case kSinh:
        return (std::exp(x) - 1 / std::exp(x)) / 2;
    case kCosh:
        return (std::exp(x) + 1 / std::exp(x)) / 2;
    case kTanh:
        return 1 - 2 / (std::exp(2 * x) + 1);
    case kCoth:
        return x == 0 ? SetError(kFormulaCothError) : 1 + 2 / (std::exp(2 * x) - 1);
    case kArsinh:
        return std::log(x + std::sqrt(x * x + 1));
    case kArcosh:
        return x < 1 ? SetError(kFormulaArcoshError) : std::log(x + std::sqrt(x * x - 1));
    case kArtanh:
        // At +-1 the value is infinite: an error like the rest of the excluded range.
        return std::fabs(x) >= 1 ? SetError(kFormulaArtanhError) : std::log((1 + x) / (1 - x)) / 2;
    case kArcoth:
        return std::fabs(x) <= 1 ? SetError(kFormulaArcothError) : std::log((x + 1) / (x - 1)) / 2;
    case kLn:
        return x <= 0 ? SetError(kFormulaLnError) : std::log(x);
    case kLg:
        return x <= 0 ? SetError(kFormulaLgError) : std::log(x) / 2.302585092994046;
    case kLd:
        return x <= 0 ? SetError(kFormulaLdError) : std::log(x) / 0.6931471805599453;
    case kExp:
        return std::exp(x);
    case kAbs:
        return std::fabs(x);
    case kSqrt:
        return x < 0 ? SetError(kFormulaSqrtError) : std::sqrt(x);
    case kFrac:
        // The part after the point keeps the sign: FRAC(-2.25) is -0.25.
        return x - TruncateTowardZero(x);
    default:
        return 0.0;
    }
}

} // namespace

FormulaList* NewFormulaList() {
    return new FormulaList();
}

void DisposeFormulaList(FormulaList* list) {
    delete list;
}

void DisposeFormulaTree(FormulaNode** cell) {
    delete *cell;
    *cell = nullptr;
}

void ParseFormula(FormulaList* list, ConstStringPtr text, SInt16* error, SInt16* position,
                  VariableRecord* variables) {
    NodePtr tree = ParseWhole(text, variables, error, position);
    if (tree && list) list->formulas.push_back(std::move(tree));
}

double EvalFormulaAt(FormulaList* list, SInt16 n) {
    FormulaError = 0;
    if (!list || n < 0 || size_t(n) >= list->formulas.size()) return SetError(kFormulaEmpty);
    return EvalFormulaTree(list->formulas[size_t(n)].get());
}

void EvalFormulaChain(VariableRecord* first, SInt16* index, SInt16* error, SInt16* position) {
    FormulaError = 0;
    gScan.error = 0;
    *index = -1;
    *error = 0;
    *position = 0;
    for (VariableRecord* v = first; v; v = v->next) {
        ++*index;
        if (v->alreadyKnown) continue;
        Str255 text;
        std::memcpy(text, v->formula, size_t(v->formula[0]) + 1);
        while (text[0] > 0 && text[text[0]] == ' ')
            --text[0];
        NodePtr tree = ParseWhole(text, first, error, position);
        if (*error == 0) {
            v->value = EvalFormulaTree(tree.get());
            if (FormulaError != 0) *error = FormulaError;
        }
        if (*error != 0) {
            v->value = 0;
            return;
        }
    }
}
