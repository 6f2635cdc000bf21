// Reading and writing XML the way chart series need it: a thin reader over one element of an XML
// document (tag name, attributes by index or name, child elements by index) and an output stream that
// collects elements and attributes as text.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "foundation/TextFile.h"

namespace sarnova {

// One element of an XML document as the document object offers it. Only elements count as
// children; text, comments and processing instructions are not children.
class IXMLDOMElement {
public:
    virtual ~IXMLDOMElement() = default;
    virtual std::string GetTagName() const = 0;
    virtual int GetAttributeCount() const = 0;
    // Name and value of attribute Index, 0 .. GetAttributeCount() - 1, in document order.
    virtual std::string GetAttributeName(int Index) const = 0;
    virtual std::string GetAttributeValue(int Index) const = 0;
    virtual int GetChildCount() const = 0;
    // Child element Index, 0 .. GetChildCount() - 1, in document order.
    virtual const IXMLDOMElement& GetChildElement(int Index) const = 0;
};

struct TXMLAttibute {
    std::string Name;
    std::string Value;
};

// Reads one element of a document, which must outlive the reader.
class TXMLElement {
public:
    TXMLElement() = default;
    explicit TXMLElement(const IXMLDOMElement& Element) { Assign(Element); }
    ~TXMLElement();
    TXMLElement(const TXMLElement&) = delete;
    TXMLElement& operator=(const TXMLElement&) = delete;

    // Binds the reader to Element; frees the cached child reader.
    void Assign(const IXMLDOMElement& Element);

    // The tag name; "" while the reader is bound to nothing.
    std::string GetTagName() const;
    int GetAttributeCount() const { return AttributeCount; }
    int GetChildCount() const { return ChildCount; }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    TXMLAttibute GetAttribute(int Index) const;
    // True when an attribute has this name, letter case ignored.
    bool HasAttribute(std::string_view Name) const;
    // A reader of child Index. There is one child reader per element: the reader returned for one
    // index is bound to another child by the next call with another index. Throws EError
    // "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    TXMLElement& GetChild(int Index);

private:
    const IXMLDOMElement* Element = nullptr;
    int AttributeCount = 0;
    int ChildCount = 0;
    std::unique_ptr<TXMLElement> ChildReader;
    int ChildIndex = -1;
};

// The first attribute of Element whose name equals Name, letter case ignored. Throws EError
// "XMLStream.AttibuteByName - Attibute <Name> not found" when there is none.
TXMLAttibute AttibuteByName(const TXMLElement& Element, std::string_view Name);

// Collects the text of an XML file; lines end in LF.
class TXMLOutputStream {
public:
    void Write(std::string_view Text) { Writer.Write(Text); }
    const std::string& Text() const { return Writer.Text(); }
    // Writes the text to FileName; a failure leaves an existing file as it was (EInOutError).
    void SaveToFile(const std::filesystem::path& FileName) const { Writer.SaveToFile(FileName); }

private:
    TTextWriter Writer;
};

// Appends ' Name="Value"' to the element the caller has opened. "&", "<", ">", the double quote and
// tab, line feed and carriage return are written as references, so that any value reads back as it
// was.
void WriteXMLAttribute(TXMLOutputStream& Stream, std::string_view Name, std::string_view Value);

}  // namespace sarnova
