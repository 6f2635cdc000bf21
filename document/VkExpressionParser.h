// Arithmetic expressions wherever a number is typed or written in a macro: "2*PI/3", "#12+0.5",
// "LENGTH/2", "P1.FX(2.5).Y". Real numbers, + - * / ^, comparisons that give 1 or 0, the keyword
// operators AND OR XOR NOT, 20 built-in functions, and a callback for every other name.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Errors.h"

namespace sarnova {

class TMacroFile;
class TVariableList;

// The expression is malformed.
class EExpressionError : public EError {
public:
    using EError::EError;
};

// A name in the expression cannot be resolved.
class EExpressionFunctionNotFound : public EError {
public:
    using EError::EError;
};

// Resolves a name that is not a built-in function: the name (upper-cased) and the value of its
// parenthesised argument (0 without one).
using TExpressionCallback = std::function<double(const std::string& Name, double Argument)>;

// Evaluates Expression. Letter case is ignored and blanks are removed first, so "2 * 3" is "2*3".
//
// Precedence, the higher binding tighter: + - 2, * / 4, ^ 6, > < AND OR XOR 8, NOT 10, = <> 12
// (so 1+2>2 is 1+(2>2)). Operators of one level apply left to right (2^3^2 = 64). A "-" after
// another operator negates the next operand only (2*-3*4 = -24); an expression that starts with an
// operator starts from 0 (-3 is 0-3, -2^2 is -(2^2)). Comparisons and logic give 1 or 0; a value counts as true when > 0.
// AND, OR, XOR and NOT are operators only as whole words ("A AND B", "NOT(X)"); ANDY stays a name.
// A parenthesised group is one operand: (0-3)^2 = 9.
//
// Names: a number ("1E5", but "1E-5" is the name "1E" minus 5), a built-in function with an optional
// parenthesised argument (SIN COS TAN ARCSIN ARCCOS ARCTAN LOG10 LN EXP SINH COSH TANH ARCSINH
// ARCCOSH ARCTANH SQRT PI SGN TRUE FALSE), else Callback(name, argument).
//
// Every step must give a finite number: a division by zero throws EExpressionError "Floating point
// division by zero", a result too large for a double (also a number written so, "1E400") "Floating
// point overflow", and one that is no number (SQRT(0-1)) "Invalid floating point operation", so that
// no infinity or NaN reaches a document.
//
// Throws EExpressionError: "No expression to evaluate"; "Error don't know how to handle second
// operator <op>" (only "-" and NOT may follow another operator; division is named "\"); "Missing
// operand after <op>"; "Missing closing parenthesis"; "Unexpected closing parenthesis"; "Missing
// operator after )" ("(2)3"); "Too many nested parentheses". Throws EExpressionFunctionNotFound
// "Unknown function - <name>" for an unknown name when there is no callback. An error from the last
// name of a (sub)expression is prefixed with "Get the programmer, Error in maths.parser.getargument.
// Sums=<name> ".
double Evaluate(std::string_view Expression, const TExpressionCallback& Callback = nullptr);

// ---- Numbers in a document ----

// What a document lends to the expressions it evaluates: frame positions ("#12"), the running
// macro's variables ("A") and entity properties ("P1.LENGTH"). The document object implements it.
class IExpressionNames {
public:
    virtual ~IExpressionNames() = default;
    // Whether the frame table holds any spacing range. Asking may add a frames entity.
    virtual bool FramesDefined() = 0;
    // The x of a frame number; -1 when no spacing range covers it.
    virtual double FramePosition(double Frame) = 0;
    // The running macro's variables; nullptr when no macro runs.
    virtual const TVariableList* GetMacroVariables() const = 0;
    // The property (text after the first ".") of the entity named Entity, letter case ignored;
    // nullopt when no entity has that name. The entity's own errors pass through.
    virtual std::optional<double> EntityExpression(const std::string& Entity,
                                                   const std::string& Property) = 0;
};

// The document's callback for Evaluate. The argument is ignored.
//   "#<frame>"  the frame's position; the frame number is read with ParseFloat ("," accepted).
//   "A"         the macro variable A; EExpressionFunctionNotFound "A not found" without it or
//               outside a macro.
//   "P1.PROP"   entity P1's property PROP; 0 when there is no entity P1.
double ResolveName(IExpressionNames& Names, const std::string& Name, double Argument);

// A number typed into the document. Throws EError "Frames are undefined" when the text uses "#" and
// there are no frames. "#-2" means "-#2", the negated position of frame 2.
double EvaluateNumber(IExpressionNames& Names, std::string_view Text);

// A number in a macro line. Every failure becomes Macro.Error "Unable to convert <Text> to number",
// and so does a result that is not finite (1/0); "#" without frames is Macro.Error "Frames are
// undefined".
double EvaluateMacroNumber(IExpressionNames& Names, std::string_view Text, const TMacroFile& Macro);

}  // namespace sarnova
