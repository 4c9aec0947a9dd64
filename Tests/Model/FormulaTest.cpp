// The formula evaluator: values, precedence and associativity, evaluation and parse errors with their
// positions, feet-inch literals, and chains of variables.
#include "Model/Formula.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Formula : public testing::Test {
  protected:
    void SetUp() override {
        FormulaPi = M_PI;
        FormulaAngleFactor = M_PI / 180;
        FormulaError = 0;
    }
    void TearDown() override { SetUp(); }
};

struct Result {
    SInt16 parseError, position, evalError;
    double value;
};

Result Evaluate(const std::string& text, VariableRecord* variables = nullptr) {
    FormulaList* list = NewFormulaList();
    Result r{0, 0, 0, 0};
    ParseFormula(list, PStr(text), &r.parseError, &r.position, variables);
    if (r.parseError == 0) {
        r.value = EvalFormulaAt(list, 0);
        r.evalError = FormulaError;
    }
    DisposeFormulaList(list);
    return r;
}

void ExpectClose(double actual, double expected, const std::string& what) {
    // Powers go through exp(y ln x) and are not exact.
    double tolerance = 1e-12 * std::max(1.0, std::fabs(expected));
    EXPECT_NEAR(actual, expected, tolerance) << what;
}

// Variable records linked in order, as the callers build them from "name=formula" texts.
struct Chain {
    std::vector<VariableRecord> records;
    explicit Chain(const std::vector<std::pair<std::string, std::string>>& defs) : records(defs.size()) {
        for (size_t i = 0; i < defs.size(); ++i) {
            std::memset(&records[i], 0, sizeof(VariableRecord));
            std::memcpy(records[i].name, PStr(defs[i].first).bytes, defs[i].first.size() + 1);
            std::memcpy(records[i].formula, PStr(defs[i].second).bytes, 256);
            records[i].next = i + 1 < defs.size() ? &records[i + 1] : nullptr;
        }
    }
    VariableRecord* first() { return &records[0]; }
};

} // namespace

TEST_F(Formula, ValuesPrecedenceAndAssociativity) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"2^3^2", 64},
                 {"1,5*2", 3},
                 {"1.5*2", 3},
                 {"-2^2", 4},
                 {"SIN(90)", 1},
                 {"(-2)^3", -8},
                 {"2-3-4", -5},
                 {"12/2/3", 2},
                 {"2 + 3 * 4", 14},
                 {"+5", 5},
                 {"2^-1", 0.5},
                 {"4^0.5", 2},
                 {"0^0", 0},
                 {"0^-2", 0},
                 {"(-2)^-2", 0.25},
                 {"5^0", 1},
                 {"pi", M_PI},
                 {"E", M_E},
                 {"sqrt(16)", 4},
                 {"LG(1000)", 3},
                 {"LOG(100)", 2},
                 {"LD(8)", 3},
                 {"LN(E)", 1},
                 {"EXP(1)", M_E},
                 {"ABS(-3)", 3},
                 {"FRAC(2.75)", 0.75},
                 {"FRAC(-2.25)", -0.25},
                 {"ASIN(1)", 90},
                 {"ARCSIN(-0.5)", -30},
                 {"ACOS(-1)", 180},
                 {"ACOS(1)", 0},
                 {"ACOS(0.5)", 60},
                 {"ATAN(1)", 45},
                 {"ARCCOT(1)", 45},
                 {"TAN(45)", 1},
                 {"COT(45)", 1},
                 {"COSH(0)", 1},
                 {"SINH(1)", std::sinh(1.0)},
                 {"TANH(0.5)", std::tanh(0.5)},
                 {"COTH(2)", 1 / std::tanh(2.0)},
                 {"ASINH(1)", std::asinh(1.0)},
                 {"ACOSH(2)", std::acosh(2.0)},
                 {"ATANH(0.5)", std::atanh(0.5)},
                 {"ACOTH(2)", std::atanh(0.5)},
                 {"3'4\"", 40},
                 {"3'-4 1/2\"/2", 20.25},
                 {".5+5.", 5.5},
                 {"2*(3+4)", 14},
                 {"((1))", 1}};
    for (const Case& c : cases) {
        Result r = Evaluate(c.text);
        EXPECT_EQ(r.parseError, 0) << c.text;
        EXPECT_EQ(r.evalError, 0) << c.text;
        ExpectClose(r.value, c.value, c.text);
    }
    FormulaAngleFactor = 1;
    ExpectClose(Evaluate("SIN(PI/2)").value, 1, "radians");
    FormulaPi = 3;
    EXPECT_EQ(Evaluate("PI").value, 3);
}

TEST_F(Formula, EvaluationErrorsGiveZeroAndTheLastCode) {
    struct Case {
        const char* text;
        SInt16 error;
        double value;
    } cases[] = {
        {"(-8)^(1/3)", 31, 0}, {"LG(0)", 28, 0},      {"LN(-1)", 27, 0},        {"LD(0)", 29, 0},
        {"SQRT(-1)", 33, 0},   {"1/0", 34, 0},        {"ASIN(2)", 15, 0},       {"ACOS(-1.5)", 16, 0},
        {"COTH(0)", 22, 0},    {"ACOSH(0.5)", 24, 0}, {"ATANH(1)", 25, 0},      {"ATANH(-1)", 25, 0},
        {"ATANH(2)", 25, 0},   {"ACOTH(1)", 26, 0},   {"ACOTH(-1)", 26, 0},     {"ACOTH(0.5)", 26, 0},
        {"COT(0)", 14, 0},     {"1+LN(0)", 27, 1},    {"LN(0)+SQRT(-1)", 33, 0}};
    for (const Case& c : cases) {
        Result r = Evaluate(c.text);
        EXPECT_EQ(r.parseError, 0) << c.text;
        EXPECT_EQ(r.evalError, c.error) << c.text;
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_TRUE(std::isfinite(r.value)) << c.text;
    }
    // A later evaluation starts clean.
    EXPECT_EQ(Evaluate("1+1").evalError, 0);
}

TEST_F(Formula, ParseErrorsKeepTheirCodeAndPosition) {
    struct Case {
        const char* text;
        SInt16 error, position;
    } cases[] = {{"SIN 30", 2, 5}, {"SIN(30", 1, 7},  {"(2+3", 1, 5}, {"2+", 3, 3},    {"2+*3", 3, 3},
                 {"2 3", 4, 3},    {"X*2", 4, 1},     {"", 5, 1},     {"   ", 5, 1},   {"2)", 4, 2},
                 {"1.2.3", 4, 4},  {"3'4\" ]", 4, 6}, {"3'4", 47, 3}, {"2*\"", 40, 3}, {"LNX", 2, 3}};
    for (const Case& c : cases) {
        Result r = Evaluate(c.text);
        EXPECT_EQ(r.parseError, c.error) << c.text;
        EXPECT_EQ(r.position, c.position) << c.text;
    }
}

TEST_F(Formula, FormulaListsHoldSeveralFormulasOverLiveVariables) {
    Chain chain({{"A", "2"}, {"B", "0"}});
    FormulaList* list = NewFormulaList();
    SInt16 error = -1, position = -1;
    ParseFormula(list, PStr("1+1"), &error, &position, chain.first());
    ASSERT_EQ(error, 0);
    ParseFormula(list, PStr("(a*10"), &error, &position, chain.first());
    EXPECT_EQ(error, 1);
    ParseFormula(list, PStr("a*10"), &error, &position, chain.first());
    ASSERT_EQ(error, 0);
    chain.records[0].value = 2;
    EXPECT_EQ(EvalFormulaAt(list, 1), 20);
    chain.records[0].value = 3.5; // a variable node reads its record when evaluated
    EXPECT_EQ(EvalFormulaAt(list, 1), 35);
    EXPECT_EQ(EvalFormulaAt(list, 0), 2);
    EXPECT_EQ(FormulaError, 0);
    EvalFormulaAt(list, 2);
    EXPECT_NE(FormulaError, 0);
    DisposeFormulaList(list);
    // Disposing the formulas leaves the variables they used alone.
    EXPECT_EQ(chain.records[0].value, 3.5);
    EXPECT_EQ(ToStd(chain.records[0].name), "A");
}

TEST_F(Formula, VariableChainsEvaluateInOrder) {
    Chain chain({{"A", "2"}, {"LEN", "a*3   "}, {"K", "999"}, {"C", "LEN+A"}});
    chain.records[2].alreadyKnown = true;
    chain.records[2].value = 7;
    SInt16 index = 0, error = -1, position = -1;
    EvalFormulaChain(chain.first(), &index, &error, &position);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(chain.records[0].value, 2);
    EXPECT_EQ(chain.records[1].value, 6);
    EXPECT_EQ(chain.records[2].value, 7);
    EXPECT_EQ(chain.records[3].value, 8);

    // Evaluating again works on the same records: nothing of them was freed.
    EvalFormulaChain(chain.first(), &index, &error, &position);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(chain.records[3].value, 8);
    EXPECT_EQ(ToStd(chain.records[1].formula), "a*3   ");
}

TEST_F(Formula, VariableChainsStopAtTheFirstError) {
    struct Case {
        const char* formula;
        SInt16 error, position;
    } cases[] = {{"LN(0)", 27, 0}, {"A+", 3, 3}, {"   ", 5, 1}, {"A 3", 4, 3},
                 {"SIN 30", 2, 5}, {"3'", 0, 0}, {"AB", 4, 2},  {"ABCDEFGHIJ", 4, 2}};
    for (const Case& c : cases) {
        Chain chain({{"A", "2"}, {"B", c.formula}, {"C", "1"}});
        chain.records[1].value = 99;
        SInt16 index = -5, error = -1, position = -1;
        EvalFormulaChain(chain.first(), &index, &error, &position);
        EXPECT_EQ(error, c.error) << c.formula;
        EXPECT_EQ(position, c.position) << c.formula;
        if (c.error) {
            EXPECT_EQ(index, 1) << c.formula;
            EXPECT_EQ(chain.records[1].value, 0) << c.formula;
            EXPECT_EQ(chain.records[2].value, 0) << c.formula; // not reached
        } else {
            EXPECT_EQ(chain.records[1].value, 36) << c.formula;
        }
    }
    // A name longer than what is left of the text is never compared past its end.
    Chain longName({{"ABCDEFGH", "1"}, {"X", "ABC"}});
    SInt16 index, error, position;
    EvalFormulaChain(longName.first(), &index, &error, &position);
    EXPECT_EQ(error, 4);
    EXPECT_EQ(position, 1);
}
