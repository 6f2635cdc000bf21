// Writing a kernel object's text block to a string and reading one back, for the text-block tests.
#pragma once
#include <string>

#include "foundation/TextFile.h"

template <typename T>
std::string SavedText(const T& Object) {
    sarnova::TTextWriter Out;
    Object.SaveToText(Out);
    return Out.Text();
}

template <typename T>
void LoadText(T& Object, const std::string& Text) {
    sarnova::TTextReader In(Text);
    Object.LoadFromText(In);
}
