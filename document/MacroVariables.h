// The variables of a running macro: created by assignment ("A = 2*3"), read back by name in every
// number the macro evaluates, and dropped when the run ends.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sarnova {

class TVariable {
public:
    TVariable(std::string Name, double Value) : Value(Value), Name(std::move(Name)) {}

    double Value;
    std::string Name;
};

// Owns its variables and keeps them in the order they were created.
class TVariableList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    TVariable* Items(int Index) const;

    // The first variable whose name equals Name, letter case ignored; nullptr when there is none.
    TVariable* Find(std::string_view Name) const;
    // Gives the variable found by Find the new value, or appends a new variable under Name.
    TVariable* SetValue(std::string_view Name, double Value);

private:
    std::vector<std::unique_ptr<TVariable>> FItems;
};

}  // namespace sarnova
