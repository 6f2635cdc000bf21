#include "document/MacroVariables.h"

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

TVariable* TVariableList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError(Format("List index out of bounds (%d)", {Index}));
    return FItems[static_cast<size_t>(Index)].get();
}

TVariable* TVariableList::Find(std::string_view Name) const {
    const std::string Wanted = UpperCase(Name);
    for (const auto& Variable : FItems)
        if (UpperCase(Variable->Name) == Wanted) return Variable.get();
    return nullptr;
}

TVariable* TVariableList::SetValue(std::string_view Name, double Value) {
    if (TVariable* Found = Find(Name)) {
        Found->Value = Value;
        return Found;
    }
    FItems.push_back(std::make_unique<TVariable>(std::string(Name), Value));
    return FItems.back().get();
}

}  // namespace sarnova
