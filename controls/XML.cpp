#include "controls/XML.h"

#include <QString>
#include <QXmlStreamReader>

#include <string>
#include <utility>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"

namespace sarnova {

class TXMLDocumentNode : public IXMLDOMElement {
public:
    std::string TagName;
    std::vector<std::pair<std::string, std::string>> Attributes;
    std::vector<std::unique_ptr<TXMLDocumentNode>> Children;

    std::string GetTagName() const override { return TagName; }
    int GetAttributeCount() const override { return static_cast<int>(Attributes.size()); }
    std::string GetAttributeName(int Index) const override { return Attributes.at(Index).first; }
    std::string GetAttributeValue(int Index) const override { return Attributes.at(Index).second; }
    int GetChildCount() const override { return static_cast<int>(Children.size()); }
    const IXMLDOMElement& GetChildElement(int Index) const override { return *Children.at(Index); }
};

TXMLDocument::TXMLDocument() = default;
TXMLDocument::~TXMLDocument() = default;

const IXMLDOMElement* TXMLDocument::GetDocumentElement() const { return Root.get(); }

void TXMLDocument::LoadXML(std::string_view Text) {
    QXmlStreamReader Reader(QByteArray(Text.data(), static_cast<qsizetype>(Text.size())));
    const auto Fail = [&Reader](const std::string& Reason) {
        throw EError(Format("XML.LoadXML - %s (line %d, column %d)",
                            {Reason, static_cast<long long>(Reader.lineNumber()),
                             static_cast<long long>(Reader.columnNumber())}));
    };
    std::unique_ptr<TXMLDocumentNode> NewRoot;
    std::vector<TXMLDocumentNode*> Open;  // the elements not yet closed, innermost last
    while (!Reader.atEnd()) {
        const QXmlStreamReader::TokenType Token = Reader.readNext();
        if (Token == QXmlStreamReader::StartElement) {
            if (static_cast<int>(Open.size()) >= MaxDepth) Fail("elements nested too deeply");
            auto Node = std::make_unique<TXMLDocumentNode>();
            Node->TagName = Reader.qualifiedName().toString().toStdString();
            for (const QXmlStreamAttribute& A : Reader.attributes())
                Node->Attributes.emplace_back(A.qualifiedName().toString().toStdString(),
                                              A.value().toString().toStdString());
            TXMLDocumentNode* Raw = Node.get();
            if (Open.empty())
                NewRoot = std::move(Node);
            else
                Open.back()->Children.push_back(std::move(Node));
            Open.push_back(Raw);
        } else if (Token == QXmlStreamReader::EndElement) {
            Open.pop_back();
        }
    }
    if (Reader.hasError()) Fail(Reader.errorString().toStdString());
    if (NewRoot == nullptr) Fail("the text holds no element");
    Root = std::move(NewRoot);
}

void TXMLDocument::Load(const std::filesystem::path& FileName) {
    TTextReader In = TTextReader::FromFile(FileName);
    std::string Text;
    while (!In.Eof()) {
        Text += In.ReadLine();
        Text += '\n';
    }
    LoadXML(Text);
}

}  // namespace sarnova
