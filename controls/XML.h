// The XML document object: a whole XML text read into a tree of elements that TXMLElement reads.
// Nothing of the document but elements and their attributes is kept.
#pragma once
#include <filesystem>
#include <memory>
#include <string_view>

#include "controls/XMLStream.h"

namespace sarnova {

class TXMLDocumentNode;

class TXMLDocument {
public:
    TXMLDocument();
    ~TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    // Reads Text (LF or CR LF line ends), replacing the document only when all of it was read. A text
    // that is not well-formed XML throws EError "XML.LoadXML - <reason> (line <n>, column <m>)";
    // elements nested deeper than MaxDepth are refused the same way.
    void LoadXML(std::string_view Text);
    // LoadXML of the file's text; a file that cannot be read throws EInOutError "Cannot open file
    // "<Name>"".
    void Load(const std::filesystem::path& FileName);

    // The root element; nullptr while nothing was loaded.
    const IXMLDOMElement* GetDocumentElement() const;

    static constexpr int MaxDepth = 256;

private:
    std::unique_ptr<TXMLDocumentNode> Root;
};

}  // namespace sarnova
