#include <gtest/gtest.h>

#include "document/MacroVariables.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {

TEST(TVariableList, SetValueFindsByNameIgnoringCaseOrAppends) {
    TVariableList List;
    EXPECT_EQ(List.Find("A"), nullptr);
    TVariable* A = List.SetValue("Length", 2);
    List.SetValue("B", 3);
    EXPECT_EQ(List.SetValue("LENGTH", 5), A);  // same variable, first spelling kept
    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Items(0)->Name, "Length");
    EXPECT_DOUBLE_EQ(List.Items(0)->Value, 5);
    EXPECT_EQ(List.Items(1)->Name, "B");
    EXPECT_EQ(List.Find("length"), A);
    EXPECT_EQ(List.Find("LENGTH2"), nullptr);
}

TEST(TVariableList, ItemsOutOfRange) {
    TVariableList List;
    List.SetValue("A", 1);
    for (int Index : {-1, 1}) {
        try {
            List.Items(Index);
            ADD_FAILURE() << Index;
        } catch (const EError& E) {
            EXPECT_EQ(std::string(E.what()), "List index out of bounds (" + std::to_string(Index) + ")");
        }
    }
}

}  // namespace
