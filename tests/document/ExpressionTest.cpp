#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "document/MacroVariables.h"
#include "document/VkExpressionParser.h"
#include "foundation/NumberText.h"
#include "foundation/MacroFile.h"

using namespace sarnova;

namespace {

// The message of the EError that F throws; "" when it throws none.
template <class F>
std::string ErrorOf(F&& Call) {
    try {
        Call();
    } catch (const EError& E) {
        return E.what();
    }
    return "";
}

TEST(Evaluate, PrecedenceAndAssociativity) {
    const std::pair<const char*, double> cases[] = {
        {"2+3*4", 14},   {"2*3+4", 10},     {"(2+3)*4", 20},  {"10/4", 2.5},   {"8-3-2", 3},
        {"2^3^2", 64},   {"1+2>2", 1},      {"3=3", 1},       {"3<>3", 0},     {"3 < > 4", 1},
        {"2<3", 1},      {"2>3+1", 1},      {"1+1=2", 1},     {"((1+2))*((3))", 9},
    };
    for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(Evaluate(text), value) << text;
}

TEST(Evaluate, UnaryMinusAppliesToTheNextOperand) {
    const std::pair<const char*, double> cases[] = {
        {"2*-3", -6},      {"2*-3*4", -24},   {"2^(0-1)", 0.5}, {"2^-1", 0.5},    {"-3", -3},
        {"-2^2", -4},      {"2*-3^2", -18},   {"2--3", 5},      {"-(0-3)", 3},    {"+3", 3},
        {"2*--3", 6},
        // A negative group is one operand, not a minus sign in front of the rest.
        {"(0-3)^2", 9},    {"2*(0-3)^2", 18}, {"(0-2)^3", -8},
    };
    for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(Evaluate(text), value) << text;
}

TEST(Evaluate, NumbersFunctionsAndBlanks) {
    const std::pair<const char*, double> cases[] = {
        {"2 * 3", 6},      {"1 2", 12},       {"SQRT(16)", 4},     {"sqrt ( 16 )", 4}, {"SIN", 0},
        {"1E5", 100000},   {"2.5E2", 250},    {".5", 0.5},         {"5.", 5},          {"PI()", M_PI},
        {"SGN(0-2)", -1},  {"SGN(0)", 0},     {"TRUE+FALSE", 1},   {"LN(EXP(2))", 2},  {"LOG10(1000)", 3},
        {"COS(0)", 1},     {"ARCTAN(1)*4", M_PI}, {"4^0.5", 2},    {"0^0", 1},         {"0^3", 0},
        {"(0-2)^1023", -std::ldexp(1, 1023)},
    };
    for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(Evaluate(text), value) << text;
    EXPECT_EQ(FormatWithPoint("%.14f", {Evaluate("PI")}), "3.14159265358979");
    EXPECT_NEAR(Evaluate("TANH(1)"), 0.761594, 1e-6);
}

TEST(Evaluate, KeywordOperatorsAreWholeWords) {
    const std::pair<const char*, double> cases[] = {
        {"1 AND 0", 0},  {"1 and 2", 1},   {"0 OR 2", 1},        {"1 XOR 1", 0},  {"1 XOR 0", 1},
        {"NOT 0", 1},    {"NOT(3)", 0},    {"1 AND NOT 0", 1},   {"(1)AND(0)", 0},
        {"2>1 AND 1", 1},  // one level: (2>1) AND 1
    };
    for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(Evaluate(text), value) << text;

    // Names that merely begin with a keyword stay names.
    std::vector<std::string> Names;
    const auto Record = [&Names](const std::string& Name, double) {
        Names.push_back(Name);
        return 1.0;
    };
    EXPECT_DOUBLE_EQ(Evaluate("ANDY+ORIGIN*NOTE+X.OR", Record), 3);
    EXPECT_EQ(Names, (std::vector<std::string>{"ANDY", "ORIGIN", "NOTE", "X.OR"}));
}

TEST(Evaluate, OtherNamesGoToTheCallbackUpperCased) {
    const std::tuple<const char*, const char*, double> cases[] = {
        {"width*2", "WIDTH", 0},
        {"f(1+2)+1", "F", 3},
        {"p1.fx(2.5).y", "P1.FX(2.5).Y", 0},  // no trailing ")": the whole text is the name
        {"#3", "#3", 0},
        {"1E-5", "1E", 0},                    // the "-" is an operator
        {"E5", "E5", 0},
    };
    for (auto [text, name, argument] : cases) {
        std::string Seen;
        double SeenArgument = -1;
        Evaluate(text, [&](const std::string& Name, double Argument) {
            Seen = Name;
            SeenArgument = Argument;
            return 7.0;
        });
        EXPECT_EQ(Seen, name) << text;
        EXPECT_DOUBLE_EQ(SeenArgument, argument) << text;
    }
    // Built-in functions come first.
    EXPECT_DOUBLE_EQ(Evaluate("PI", [](const std::string&, double) { return 7.0; }), M_PI);
}

// No infinity or NaN leaves the evaluator, not even as a step on the way to a finite result.
TEST(Evaluate, NonFiniteResultsAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"1/0", "Floating point division by zero"},
        {"(0-1)/0", "Floating point division by zero"},
        {"0/0", "Floating point division by zero"},
        {"1/(1/0)", "Floating point division by zero"},
        {"1E400", "Floating point overflow"},
        {"1E400*0", "Floating point overflow"},
        {"1E300*1E300", "Floating point overflow"},
        {"2^99999", "Floating point overflow"},
        {"(0-2)^2147483647", "Floating point overflow"},
        {"0^(0-1)", "Floating point overflow"},
        {"EXP(1000)", "Floating point overflow"},
        {"SQRT(0-1)", "Invalid floating point operation"},
        {"LN(0)", "Floating point overflow"},
        {"ARCSIN(2)", "Invalid floating point operation"},
    };
    for (auto [text, message] : cases) EXPECT_EQ(ErrorOf([&] { Evaluate(text); }), message) << text;
    EXPECT_THROW(Evaluate("1/0"), EExpressionError);
    // A name whose value is not finite is refused like a computed one.
    EXPECT_EQ(ErrorOf([&] { Evaluate("2*X", [](const std::string&, double) { return NAN; }); }),
              "Invalid floating point operation");
    // Values near the limits that stay finite are fine.
    EXPECT_DOUBLE_EQ(Evaluate("1E308*1.5"), 1.5e308);
    EXPECT_EQ(Evaluate("1/1E300/1E300"), 0);
    EXPECT_DOUBLE_EQ(Evaluate("1/1E300"), 1e-300);
}

TEST(Evaluate, Errors) {
    const std::string Prefix = "Get the programmer, Error in maths.parser.getargument. Sums=";
    const std::pair<const char*, std::string> cases[] = {
        {"", "No expression to evaluate"},
        {"   ", "No expression to evaluate"},
        {"2*/3", "Error don't know how to handle second operator \\"},
        {"2+^3", "Error don't know how to handle second operator ^"},
        {"1 AND OR 1", "Error don't know how to handle second operator OR"},
        {"2+", "Missing operand after +"},
        {"2*-", "Missing operand after -"},
        {"-", "Missing operand after -"},
        {"NOT", "Missing operand after NOT"},
        {"(2+)*3", "Missing operand after +"},
        {"(2", "Missing closing parenthesis"},
        {"SIN(1", "Missing closing parenthesis"},
        {"2)", "Unexpected closing parenthesis"},
        {")(", "Unexpected closing parenthesis"},
        {"(2)3", "Missing operator after )"},
        {"(2)(3)", "Missing operator after )"},
        {"FOO+1", "Unknown function - FOO"},
        {"1E-5", "Unknown function - 1E"},
        // The last name of a (sub)expression carries the prefix, once per level it ends.
        {"1+foo", Prefix + "FOO Unknown function - FOO"},
        {"SQRT(X)", Prefix + "SQRT(X) " + Prefix + "X Unknown function - X"},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(ErrorOf([&] { Evaluate(text); }), message) << text;

    EXPECT_THROW(Evaluate("2+"), EExpressionError);
    EXPECT_THROW(Evaluate("FOO"), EExpressionFunctionNotFound);
    EXPECT_THROW(Evaluate("SQRT(X)"), EExpressionFunctionNotFound);
}

TEST(Evaluate, NestingIsLimited) {
    const auto Nested = [](int Depth) { return std::string(Depth, '(') + "1" + std::string(Depth, ')'); };
    EXPECT_DOUBLE_EQ(Evaluate(Nested(100)), 1);
    EXPECT_EQ(ErrorOf([&] { Evaluate(Nested(100000)); }), "Too many nested parentheses");
    EXPECT_EQ(ErrorOf([&] { Evaluate("SQRT" + Nested(1000)); }), "Too many nested parentheses");
}

// Malformed input either evaluates or throws EError: no crash, no hang, nothing else thrown.
TEST(Evaluate, GarbageEvaluatesOrThrows) {
    const auto Names = [](const std::string& Name, double Argument) {
        if (Name == "BAD") throw EExpressionFunctionNotFound(Name + " not found");
        return Argument + 1;
    };
    const auto Survives = [&](const std::string& Text) {
        for (const bool WithCallback : {false, true}) {
            try {
                WithCallback ? Evaluate(Text, Names) : Evaluate(Text);
            } catch (const EError&) {
            } catch (...) {
                ADD_FAILURE() << "unexpected exception for \"" << Text << "\"";
            }
        }
    };
    const char* const table[] = {
        "(", ")", "()", "(()", "())", "((", "))", "+", "--", "-+", "*", "^^", "<", "<>", "<<>>", "=",
        "..", ".", "E", "1E", "1E+", "1..2", "1.2.3", "#", "#-", "#-#", "A.", ".A", "A(", "A)",
        "SIN()", "SIN(()", "SIN)(", "(1)(2)(3)", "2(3)", "1 AND", "AND", "OR OR", "NOT NOT 1",
        "1<>", "<>1", "1/0/0", "0^(0-1)", "2^99999", "1E400", "1E400*0", "\t", "1\t+2", "\x01",
        "\xff\xfe", "(((((((((((((((", ")))))))))", "BAD", "BAD(1)", "1+BAD", "SQRT(BAD)", "((BAD))",
        "----------1", "1----------", "(-)", "(*)", "-(-(-(-1)))", "A=B=C", "1=", "=1", "1>>2",
    };
    for (const char* Text : table) Survives(Text);

    std::mt19937 Random(20240611);
    const std::string Alphabet = "0123456789.E+-*/^=<>()# ,ANDORXTSIQPB";
    std::uniform_int_distribution<size_t> Pick(0, Alphabet.size() - 1);
    std::uniform_int_distribution<int> Length(0, 24);
    for (int I = 0; I < 20000; ++I) {
        std::string Text;
        for (int N = Length(Random); N > 0; --N) Text += Alphabet[Pick(Random)];
        Survives(Text);
    }
}

// ---- Numbers in a document ----

// A document with frames every 10 units from frame 0 to 20, named entity properties and, while a
// macro runs, its variables.
class TTestDocument : public IExpressionNames {
public:
    bool FramesDefined() override {
        ++FrameQueries;
        return HasFrames;
    }
    double FramePosition(double Frame) override { return Frame >= 0 && Frame < 20 ? 10 * Frame : -1; }
    const TVariableList* GetMacroVariables() const override { return Variables; }
    std::optional<double> EntityExpression(const std::string& Entity, const std::string& Property) override {
        if (Entity != "P1") return std::nullopt;
        if (Property == "LENGTH") return 12.5;
        throw EError("TGeometry.Expression - unknown property " + Property);
    }

    bool HasFrames = true;
    int FrameQueries = 0;
    const TVariableList* Variables = nullptr;
};

class DocumentNumberTest : public ::testing::Test {
protected:
    void SetUp() override {
        Path = std::filesystem::temp_directory_path() / "expression-test.cmd";
        std::ofstream(Path, std::ios::binary) << "A = 2*3\n";
        Macro.LoadFromFile(Path);
        Macro.NextLine();
        Document.Variables = &Variables;
    }
    void TearDown() override { std::filesystem::remove(Path); }

    std::string MacroError(const std::string& Text) {
        return "Error: " + Macro.GetFileName() + "(1): " + Text;
    }

    std::filesystem::path Path;
    TMacroFile Macro;
    TVariableList Variables;
    TTestDocument Document;
};

TEST_F(DocumentNumberTest, VariablesFramesAndEntityProperties) {
    Variables.SetValue("A", 2);
    const std::pair<const char*, double> cases[] = {
        {"A*3", 6},       {"a*3", 6},         {"#3", 30},            {"#3,5", 35},      {"#-2", -20},
        {"#--2", 20},     {"2*#-2", -40},     {"#25", -1},           {"NOSUCH.X", 0},   {"p1.length*2", 25},
    };
    for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(EvaluateNumber(Document, text), value) << text;
}

TEST_F(DocumentNumberTest, UnresolvedNames) {
    const std::string Prefix = "Get the programmer, Error in maths.parser.getargument. Sums=";
    EXPECT_EQ(ErrorOf([&] { EvaluateNumber(Document, "B*3"); }), "B not found");
    EXPECT_EQ(ErrorOf([&] { EvaluateNumber(Document, "3*B"); }), Prefix + "B B not found");
    EXPECT_THROW(EvaluateNumber(Document, "B*3"), EExpressionFunctionNotFound);
    EXPECT_EQ(ErrorOf([&] { EvaluateNumber(Document, "P1.WIDTH+1"); }),
              "TGeometry.Expression - unknown property WIDTH");
    EXPECT_EQ(ErrorOf([&] { EvaluateNumber(Document, "#X+1"); }), "Unable to convert string to number (X)");
    EXPECT_EQ(ErrorOf([&] { EvaluateNumber(Document, "#(4)"); }),
              Prefix + "#(4) Unable to convert string to number ()");

    Variables.SetValue("A", 2);
    Document.Variables = nullptr;  // no macro running
    EXPECT_EQ(ErrorOf([&] { EvaluateNumber(Document, "A+1"); }), "A not found");
}

TEST_F(DocumentNumberTest, FramesMustBeDefinedForFrameNumbers) {
    Document.HasFrames = false;
    EXPECT_EQ(ErrorOf([&] { EvaluateNumber(Document, "#3"); }), "Frames are undefined");
    EXPECT_EQ(ErrorOf([&] { EvaluateMacroNumber(Document, "1+#3", Macro); }), MacroError("Frames are undefined"));
    // Without "#" the frame table is not even asked for (asking may add a frames entity).
    Document.FrameQueries = 0;
    EXPECT_DOUBLE_EQ(EvaluateNumber(Document, "1+2"), 3);
    EXPECT_EQ(Document.FrameQueries, 0);
}

TEST_F(DocumentNumberTest, MacroNumbersRefuseFailuresAndNonFiniteResults) {
    const std::pair<const char*, const char*> cases[] = {
        {"B*3", "Unable to convert B*3 to number"},
        {"1/0", "Unable to convert 1/0 to number"},
        {"0/0", "Unable to convert 0/0 to number"},
        {"2+", "Unable to convert 2+ to number"},
        {" (1", "Unable to convert  (1 to number"},
        {"", "Unable to convert  to number"},
    };
    for (auto [text, message] : cases)
        EXPECT_EQ(ErrorOf([&] { EvaluateMacroNumber(Document, text, Macro); }), MacroError(message)) << text;
    EXPECT_DOUBLE_EQ(EvaluateMacroNumber(Document, " 2*3", Macro), 6);
}

// "A = 2*3" and LISTVARIABLES, as a macro run prints them.
TEST_F(DocumentNumberTest, AssignedVariableIsUsedAndListed) {
    TVariable* A = Variables.SetValue("A", EvaluateMacroNumber(Document, " 2*3", Macro));
    EXPECT_EQ(Format("Variable %s set to %f", {A->Name, A->Value}), "Variable A set to 6.00");
    EXPECT_EQ(Format(" %s = %f", {Variables.Items(0)->Name, Variables.Items(0)->Value}), " A = 6.00");
    EXPECT_DOUBLE_EQ(EvaluateMacroNumber(Document, "A/4", Macro), 1.5);
}

}  // namespace
