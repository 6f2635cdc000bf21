#include "controls/XMLStream.h"

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

void CheckIndex(int Index, int Count) {
    if (Index < 0 || Index >= Count) throw EError(Format("List index out of bounds (%d)", {Index}));
}

}  // namespace

TXMLElement::~TXMLElement() = default;

void TXMLElement::Assign(const IXMLDOMElement& Value) {
    ChildReader.reset();
    ChildIndex = -1;
    Element = &Value;
    AttributeCount = Value.GetAttributeCount();
    ChildCount = Value.GetChildCount();
}

std::string TXMLElement::GetTagName() const { return Element != nullptr ? Element->GetTagName() : std::string(); }

TXMLAttibute TXMLElement::GetAttribute(int Index) const {
    CheckIndex(Index, AttributeCount);
    return {Element->GetAttributeName(Index), Element->GetAttributeValue(Index)};
}

bool TXMLElement::HasAttribute(std::string_view Name) const {
    const std::string Wanted = UpperCase(Name);
    for (int I = 0; I < AttributeCount; ++I)
        if (UpperCase(Element->GetAttributeName(I)) == Wanted) return true;
    return false;
}

TXMLElement& TXMLElement::GetChild(int Index) {
    CheckIndex(Index, ChildCount);
    if (Index != ChildIndex || ChildReader == nullptr) {
        ChildIndex = Index;
        if (ChildReader == nullptr) ChildReader = std::make_unique<TXMLElement>();
        ChildReader->Assign(Element->GetChildElement(Index));
    }
    return *ChildReader;
}

TXMLAttibute AttibuteByName(const TXMLElement& Element, std::string_view Name) {
    const std::string Wanted = UpperCase(Name);
    for (int I = 0; I < Element.GetAttributeCount(); ++I) {
        TXMLAttibute Attribute = Element.GetAttribute(I);
        if (UpperCase(Attribute.Name) == Wanted) return Attribute;
    }
    throw EError("XMLStream.AttibuteByName - Attibute " + std::string(Name) + " not found");
}

void WriteXMLAttribute(TXMLOutputStream& Stream, std::string_view Name, std::string_view Value) {
    std::string Text = " ";
    Text += Name;
    Text += "=\"";
    for (const char C : Value) {
        switch (C) {
            case '&': Text += "&amp;"; break;
            case '<': Text += "&lt;"; break;
            case '>': Text += "&gt;"; break;
            case '"': Text += "&quot;"; break;
            // Attribute values turn raw tabs and line ends into blanks when read.
            case '\t': Text += "&#9;"; break;
            case '\n': Text += "&#10;"; break;
            case '\r': Text += "&#13;"; break;
            default: Text += C;
        }
    }
    Text += '"';
    Stream.Write(Text);
}

}  // namespace sarnova
