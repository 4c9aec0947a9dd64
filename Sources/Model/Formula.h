// The formula evaluator: typed formulas with + - * / ^, functions, pi, e, numbers and variables are
// parsed into trees and evaluated in doubles; chains of variable definitions are evaluated in order.
// Errors are numbers: parse errors with a position, evaluation errors in FormulaError. The scanner
// state is module-wide, so one parse or evaluation runs at a time.
#pragma once

#include "Platform/MacTypes.h"

// Parse errors.
enum : SInt16 {
    kFormulaMissingCloseParen = 1,
    kFormulaMissingOpenParen = 2,
    kFormulaMissingOperand = 3,
    kFormulaUnexpectedChar = 4,
    kFormulaEmpty = 5,
};

// Evaluation errors left in FormulaError.
enum : SInt16 {
    kFormulaTanError = 13,
    kFormulaCotError = 14,
    kFormulaArcSinError = 15,
    kFormulaArcCosError = 16,
    kFormulaCothError = 22,
    kFormulaArcoshError = 24,
    kFormulaArtanhError = 25,
    kFormulaArcothError = 26,
    kFormulaLnError = 27,
    kFormulaLgError = 28,
    kFormulaLdError = 29,
    kFormulaPowerError = 31,
    kFormulaSqrtError = 33,
    kFormulaDivisionError = 34,
};

// One variable definition; its value is the first field, which variable nodes read.
struct VariableRecord {
    double value;
    Str63 name;
    Str255 formula;
    Boolean alreadyKnown; // skipped by the chain evaluation, keeps its value
    VariableRecord* next;
};

struct FormulaNode;
struct FormulaList;

extern SInt16 FormulaError;
// The two constant cells callers preset: pi, and the factor from the user's angle unit to radians
// (pi/180 for degrees).
extern double FormulaPi;
extern double FormulaAngleFactor;

FormulaList* NewFormulaList();
void DisposeFormulaList(FormulaList* list);

// Parses text (feet-inch literals allowed) into a tree appended to the list, using variables (may be
// null). error 0 on success, else the parse error (or 40-48 from the feet-inch rewriting) and the
// 1-based position in text where parsing stopped.
void ParseFormula(FormulaList* list, ConstStringPtr text, SInt16* error, SInt16* position,
                  VariableRecord* variables = nullptr);
// Evaluates formula n (0-based) of the list; FormulaError tells whether it failed.
double EvalFormulaAt(FormulaList* list, SInt16 n);
// Evaluates every record not already known, in order, each able to use the variables of the chain.
// Stops at the first error: index is that record's (0-based), error its code, position the parse
// position (0 for an evaluation error). error 0 when the whole chain evaluated.
void EvalFormulaChain(VariableRecord* first, SInt16* index, SInt16* error, SInt16* position);

// Disposes a tree and clears the cell that held it; the variable records it refers to stay.
void DisposeFormulaTree(FormulaNode** cell);
