#include "document/VkExpressionParser.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "document/MacroVariables.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/MacroFile.h"
#include "foundation/VkMaths.h"

namespace sarnova {

namespace {

enum TOperator {
    opNone, opAdd, opSubtract, opMultiply, opDivide, opPower, opEqual, opGreater, opLess,
    opNotEqual, opAnd, opOr, opNot, opXor
};

constexpr int Precedence[] = {0, 2, 2, 4, 4, 6, 12, 8, 8, 12, 8, 8, 10, 8};
// Names in the second-operator message, where division has always been called "\".
constexpr const char* SecondOperatorNames[] = {"",   "+", "-",  "*",   "\\", "^",   "=",
                                               ">",  "<", "<>", "AND", "OR", "NOT", "XOR"};
constexpr const char* OperatorTexts[] = {"",  "+", "-",  "*",   "/",  "^",   "=",
                                         ">", "<", "<>", "AND", "OR", "NOT", "XOR"};

// Deep enough for any expression a person writes; keeps a pathological one off the stack's end.
constexpr int MaxNesting = 128;

const std::string_view Keywords[] = {"AND", "OR", "NOT", "XOR"};
constexpr TOperator KeywordOperators[] = {opAnd, opOr, opNot, opXor};

struct TToken {
    enum TKind { Word, Operator, Open, Close, Value };
    TKind Kind;
    std::string Text;      // Word
    TOperator Op = opNone;  // Operator
    double Number = 0;     // Value: a group already evaluated
};

bool IsWordCharacter(char C) {
    switch (C) {
        case ' ': case '(': case ')': case '+': case '-': case '*': case '/': case '^': case '=':
        case '<': case '>':
            return false;
        default:
            return true;
    }
}

// A keyword operator stands as a whole word at I of the upper-cased text.
TOperator KeywordAt(const std::string& U, size_t I) {
    if (I > 0 && IsWordCharacter(U[I - 1])) return opNone;
    for (size_t K = 0; K < std::size(Keywords); ++K) {
        const std::string_view Word = Keywords[K];
        if (U.compare(I, Word.size(), Word) != 0) continue;
        const size_t After = I + Word.size();
        if (After < U.size() && IsWordCharacter(U[After])) continue;
        return KeywordOperators[K];
    }
    return opNone;
}

TOperator OperatorCharacter(char C) {
    switch (C) {
        case '+': return opAdd;
        case '-': return opSubtract;
        case '*': return opMultiply;
        case '/': return opDivide;
        case '^': return opPower;
        case '=': return opEqual;
        case '>': return opGreater;
        case '<': return opLess;
        default: return opNone;
    }
}

// Splits the upper-cased text. Blanks vanish, so "1 2" is the number 12 and "SIN (1)" a call.
std::vector<TToken> Tokenize(const std::string& U) {
    std::vector<TToken> Tokens;
    std::string Word;
    auto Flush = [&] {
        if (!Word.empty()) Tokens.push_back({TToken::Word, std::move(Word)});
        Word.clear();
    };
    for (size_t I = 0; I < U.size();) {
        const char C = U[I];
        if (C == ' ') {
            ++I;
            continue;
        }
        if (const TOperator Keyword = KeywordAt(U, I); Keyword != opNone) {
            Flush();
            Tokens.push_back({TToken::Operator, {}, Keyword});
            I += std::string_view(OperatorTexts[Keyword]).size();
            continue;
        }
        if (C == '(' || C == ')') {
            Flush();
            Tokens.push_back({C == '(' ? TToken::Open : TToken::Close, {}});
            ++I;
            continue;
        }
        TOperator Op = OperatorCharacter(C);
        if (Op == opNone) {
            Word += C;
            ++I;
            continue;
        }
        Flush();
        ++I;
        if (Op == opLess) {
            size_t Next = I;
            while (Next < U.size() && U[Next] == ' ') ++Next;
            if (Next < U.size() && U[Next] == '>') {
                Op = opNotEqual;
                I = Next + 1;
            }
        }
        Tokens.push_back({TToken::Operator, {}, Op});
    }
    Flush();
    return Tokens;
}

void CheckParentheses(const std::vector<TToken>& Tokens) {
    int Depth = 0;
    for (const TToken& T : Tokens) {
        if (T.Kind == TToken::Open && ++Depth > MaxNesting)
            throw EExpressionError("Too many nested parentheses");
        if (T.Kind == TToken::Close && --Depth < 0)
            throw EExpressionError("Unexpected closing parenthesis");
    }
    if (Depth > 0) throw EExpressionError("Missing closing parenthesis");
}

// Digits, an optional "." fraction and an optional "E" exponent with digits; no sign.
bool IsDecimalNumber(const std::string& T) {
    size_t I = 0;
    int Digits = 0;
    while (I < T.size() && T[I] >= '0' && T[I] <= '9') ++I, ++Digits;
    if (I < T.size() && T[I] == '.')
        for (++I; I < T.size() && T[I] >= '0' && T[I] <= '9'; ++I) ++Digits;
    if (Digits == 0) return false;
    if (I < T.size() && T[I] == 'E') {
        const size_t Start = ++I;
        while (I < T.size() && T[I] >= '0' && T[I] <= '9') ++I;
        if (I == Start) return false;
    }
    return I == T.size();
}

// Whole-number exponents multiply (a negative base is fine); the others go through logarithms.
double Power(double A, double B) {
    if (B == 0) return 1;
    if (A == 0 && B > 0) return 0;
    if (B == std::trunc(B) && std::fabs(B) <= 2147483647.0) {
        auto N = static_cast<std::int64_t>(std::fabs(B));
        double Base = A, Result = 1;
        for (; N > 0; N >>= 1) {
            if (N & 1) Result *= Base;
            Base *= Base;
        }
        return B < 0 ? 1 / Result : Result;
    }
    return std::exp(B * std::log(A));
}

double Calculate(TOperator Op, double A, double B) {
    switch (Op) {
        case opAdd: return A + B;
        case opSubtract: return A - B;
        case opMultiply: return A * B;
        case opDivide: return A / B;
        case opPower: return Power(A, B);
        case opEqual: return A == B ? 1 : 0;
        case opGreater: return A > B ? 1 : 0;
        case opLess: return A < B ? 1 : 0;
        case opNotEqual: return A != B ? 1 : 0;
        case opAnd: return A > 0 && B > 0 ? 1 : 0;
        case opOr: return A > 0 || B > 0 ? 1 : 0;
        case opNot: return B > 0 ? 0 : 1;
        case opXor: return (A > 0) != (B > 0) ? 1 : 0;
        case opNone: break;
    }
    return B;
}

// A result that is no finite number is refused where it arises, so that no infinity or NaN reaches a
// document, and the message says what happened.
double Finite(double Value, bool DividedByZero = false) {
    if (std::isfinite(Value)) return Value;
    if (DividedByZero) throw EExpressionError("Floating point division by zero");
    if (std::isinf(Value)) throw EExpressionError("Floating point overflow");
    throw EExpressionError("Invalid floating point operation");
}

double Apply(TOperator Op, double A, double B) { return Finite(Calculate(Op, A, B), Op == opDivide && B == 0); }

struct TFunction {
    std::string_view Name;
    double (*Evaluate)(double);
};

const TFunction Functions[] = {
    {"SIN", [](double X) { return std::sin(X); }},
    {"COS", [](double X) { return std::cos(X); }},
    {"TAN", [](double X) { return std::tan(X); }},
    {"ARCSIN", [](double X) { return std::asin(X); }},
    {"ARCCOS", [](double X) { return std::acos(X); }},
    {"ARCTAN", [](double X) { return std::atan(X); }},
    {"LOG10", [](double X) { return std::log10(X); }},
    {"LN", [](double X) { return std::log(X); }},
    {"EXP", [](double X) { return std::exp(X); }},
    {"SINH", [](double X) { return std::sinh(X); }},
    {"COSH", [](double X) { return std::cosh(X); }},
    {"TANH", [](double X) { return std::tanh(X); }},
    {"ARCSINH", [](double X) { return std::asinh(X); }},
    {"ARCCOSH", [](double X) { return std::acosh(X); }},
    {"ARCTANH", [](double X) { return std::atanh(X); }},
    {"SQRT", [](double X) { return std::sqrt(X); }},
    {"PI", [](double) { return std::numbers::pi; }},
    {"SGN", [](double X) { return static_cast<double>(Sign(X)); }},
    {"TRUE", [](double) { return 1.0; }},
    {"FALSE", [](double) { return 0.0; }},
};

const TFunction* FindFunction(const std::string& Name) {
    for (const TFunction& F : Functions)
        if (F.Name == Name) return &F;
    return nullptr;
}

// Raises the exception being handled again with Prefix before its message, keeping its kind.
[[noreturn]] void RethrowWithPrefix(const std::string& Prefix) {
    try {
        throw;
    } catch (const EExpressionFunctionNotFound& E) {
        throw EExpressionFunctionNotFound(Prefix + E.what());
    } catch (const EExpressionError& E) {
        throw EExpressionError(Prefix + E.what());
    } catch (const EConvertError& E) {
        throw EConvertError(Prefix + E.what());
    } catch (const EGeometryError& E) {
        throw EGeometryError(Prefix + E.what());
    } catch (const EInOutError& E) {
        throw EInOutError(Prefix + E.what());
    } catch (const EError& E) {
        throw EError(Prefix + E.what());
    }
}

// Precedence climbing over the tokens, consuming them from the front. A group is evaluated on its
// own and its token pair replaced by one value token, so it stays a single operand.
class TParser {
public:
    TParser(std::vector<TToken> Tokens, const TExpressionCallback& Callback)
        : Tokens(std::move(Tokens)), Callback(Callback) {}

    double Run() {
        TText All{0, Tokens.size()};
        return EvalLevel(All, 0);
    }

private:
    // The tokens [Pos, End) still to be evaluated.
    struct TText {
        size_t Pos;
        size_t End;
        bool Empty() const { return Pos >= End; }
    };

    double EvalLevel(TText& S, int Level) {
        double Acc = 0;
        TOperator Op = opNone;
        // "-" and NOT written after Op, applied to the next operand, the last one written first.
        std::vector<TOperator> Unary;
        TOperator Last = opNone;
        while (!S.Empty()) {
            const TToken& T = Tokens[S.Pos];
            if (T.Kind == TToken::Operator) {
                if (Op != opNone) {
                    if (T.Op != opSubtract && T.Op != opNot)
                        throw EExpressionError(std::string("Error don't know how to handle second operator ") +
                                               SecondOperatorNames[T.Op]);
                    Unary.push_back(T.Op);
                    Last = T.Op;
                    ++S.Pos;
                    continue;
                }
                const int P = Precedence[T.Op];
                if (P > Level) {
                    Acc = EvalLevel(S, Level + 2);
                } else if (P < Level) {
                    return Acc;
                } else {
                    Op = Last = T.Op;
                    ++S.Pos;
                }
            } else if (T.Kind == TToken::Open) {
                ReplaceGroup(S);
            } else {
                double X = Operand(S, Level);
                if (Op != opNone) {
                    for (auto U = Unary.rbegin(); U != Unary.rend(); ++U) X = Apply(*U, 0, X);
                    Acc = Apply(Op, Acc, X);
                    Op = opNone;
                    Unary.clear();
                } else {
                    Acc = X;
                }
            }
        }
        if (Op != opNone) throw EExpressionError(std::string("Missing operand after ") + OperatorTexts[Last]);
        return Acc;
    }

    TOperator FirstOperator(const TText& S) const {
        int Depth = 0;
        for (size_t I = S.Pos; I < S.End; ++I) {
            const TToken& T = Tokens[I];
            if (T.Kind == TToken::Open) ++Depth;
            else if (T.Kind == TToken::Close) --Depth;
            else if (T.Kind == TToken::Operator && Depth == 0) return T.Op;
        }
        return opNone;
    }

    double Operand(TText& S, int Level) {
        if (Precedence[FirstOperator(S)] > Level) return EvalLevel(S, Level + 2);
        // The operand runs to the first operator outside parentheses; SIN(1+2) is one operand.
        const size_t Begin = S.Pos;
        for (int Depth = 0; !S.Empty(); ++S.Pos) {
            const TToken& T = Tokens[S.Pos];
            if (T.Kind == TToken::Operator && Depth == 0) break;
            if (T.Kind == TToken::Open) ++Depth;
            else if (T.Kind == TToken::Close) --Depth;
        }
        const size_t End = S.Pos;
        if (Tokens[Begin].Kind == TToken::Value) {
            if (End - Begin > 1) throw EExpressionError("Missing operator after )");
            return Tokens[Begin].Number;
        }
        const std::string Text = TokenText(Begin, End);
        if (IsDecimalNumber(Text)) {
            double Number = 0;
            if (!TryStrToFloat(Text, Number)) throw EExpressionError("Floating point overflow");
            return Number;
        }
        double Value = 0;
        try {
            Value = FunctionOrName(Begin, End, Text);
        } catch (...) {
            if (!S.Empty()) throw;
            RethrowWithPrefix("Get the programmer, Error in maths.parser.getargument. Sums=" + Text + " ");
        }
        // SQRT(0-1), LN(0), or a name whose value is none.
        return Finite(Value);
    }

    void ReplaceGroup(TText& S) {
        size_t Close = S.Pos + 1;
        for (int Depth = 1; Close < S.End; ++Close) {
            if (Tokens[Close].Kind == TToken::Open) ++Depth;
            else if (Tokens[Close].Kind == TToken::Close && --Depth == 0) break;
        }
        if (Close >= S.End) throw EExpressionError("Missing closing parenthesis");
        TText Inner{S.Pos + 1, Close};
        const double Value = EvalLevel(Inner, 0);
        Tokens[Close] = {TToken::Value, {}, opNone, Value};
        S.Pos = Close;
    }

    double FunctionOrName(size_t Begin, size_t End, const std::string& Text) {
        size_t Open = Begin;
        while (Open < End && Tokens[Open].Kind != TToken::Open) ++Open;
        const bool HasArgument = Open < End && Tokens[End - 1].Kind == TToken::Close;
        const std::string Name = HasArgument ? TokenText(Begin, Open) : Text;
        const TFunction* Function = FindFunction(Name);
        if (!Function && !Callback) throw EExpressionFunctionNotFound("Unknown function - " + Text);
        double Argument = 0;
        if (HasArgument) {
            TText Rest{Open, End};
            Argument = EvalLevel(Rest, 0);
        }
        return Function ? Function->Evaluate(Argument) : Callback(Name, Argument);
    }

    std::string TokenText(size_t Begin, size_t End) const {
        std::string Text;
        for (size_t I = Begin; I < End; ++I) {
            const TToken& T = Tokens[I];
            switch (T.Kind) {
                case TToken::Word: Text += T.Text; break;
                case TToken::Operator: Text += OperatorTexts[T.Op]; break;
                case TToken::Open: Text += '('; break;
                case TToken::Close: Text += ')'; break;
                case TToken::Value: Text += FloatToStr(T.Number); break;
            }
        }
        return Text;
    }

    std::vector<TToken> Tokens;
    const TExpressionCallback& Callback;
};

}  // namespace

double Evaluate(std::string_view Expression, const TExpressionCallback& Callback) {
    const std::string U = UpperCase(Expression);
    if (U.find_first_not_of(' ') == std::string::npos) throw EExpressionError("No expression to evaluate");
    std::vector<TToken> Tokens = Tokenize(U);
    CheckParentheses(Tokens);
    return TParser(std::move(Tokens), Callback).Run();
}

double ResolveName(IExpressionNames& Names, const std::string& Name, double) {
    if (!Name.empty() && Name[0] == '#') return Names.FramePosition(ParseFloat(std::string_view(Name).substr(1)));
    const size_t Dot = Name.find('.');
    if (Dot == std::string::npos) {
        const TVariableList* Variables = Names.GetMacroVariables();
        const TVariable* Variable = Variables ? Variables->Find(Name) : nullptr;
        if (!Variable) throw EExpressionFunctionNotFound(Name + " not found");
        return Variable->Value;
    }
    return Names.EntityExpression(Name.substr(0, Dot), Name.substr(Dot + 1)).value_or(0.0);
}

double EvaluateNumber(IExpressionNames& Names, std::string_view Text) {
    if (Text.find('#') != std::string_view::npos && !Names.FramesDefined())
        throw EError("Frames are undefined");
    // "#-2" is the negated position of frame 2: in every run of "#" and "-" the minus signs move to
    // the front, as swapping "#-" to "-#" until none is left would do.
    std::string T(Text);
    for (size_t I = 0; I < T.size();) {
        if (T[I] != '#' && T[I] != '-') {
            ++I;
            continue;
        }
        size_t End = I;
        while (End < T.size() && (T[End] == '#' || T[End] == '-')) ++End;
        const auto Minus = static_cast<size_t>(std::count(T.begin() + I, T.begin() + End, '-'));
        std::fill(T.begin() + I, T.begin() + I + Minus, '-');
        std::fill(T.begin() + I + Minus, T.begin() + End, '#');
        I = End;
    }
    return Evaluate(T, [&Names](const std::string& Name, double Argument) {
        return ResolveName(Names, Name, Argument);
    });
}

double EvaluateMacroNumber(IExpressionNames& Names, std::string_view Text, const TMacroFile& Macro) {
    if (Text.find('#') != std::string_view::npos && !Names.FramesDefined()) Macro.Error("Frames are undefined");
    double Value = 0;
    try {
        Value = EvaluateNumber(Names, Text);
    } catch (const std::exception&) {
        Macro.Error("Unable to convert " + std::string(Text) + " to number");
    }
    // A macro that divides by zero must stop here, not hand an infinity to the geometry.
    if (!std::isfinite(Value)) Macro.Error("Unable to convert " + std::string(Text) + " to number");
    return Value;
}

}  // namespace sarnova
