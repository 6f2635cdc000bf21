#include "shell/GeometryServer.h"

#include <algorithm>
#include <ctime>
#include <memory>
#include <typeinfo>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/Console.h"

namespace sarnova {

namespace {

// The local time in the user's long time format.
std::string TimeText() {
    const std::time_t Now = std::time(nullptr);
    std::tm Local{};
    localtime_r(&Now, &Local);
    char Text[64];
    const size_t Length = std::strftime(Text, sizeof Text, "%X", &Local);
    return std::string(Text, Length);
}

}  // namespace

std::string GeoMessageLogLine(const std::string& Time, const TGeoMessage& Message) {
    std::string Line = "[" + Time + "] Message: " + ClassNameOf(typeid(Message)) + "(";
    if (const TGeometry* Entity = Message.SenderGeometry) {
        Line += Entity->ClassName();
        if (const std::string Name = Entity->GetName(); !Name.empty()) Line += "." + Name;
    } else if (const TGeometryList* List = Message.SenderList) {
        Line += ClassNameOf(typeid(*List));
    }
    return Line + ")";
}

// ---- TGeometryServer ----

TGeometryServer::~TGeometryServer() { DetachClients(); }

void TGeometryServer::AddClient(TGeometryClient* Client) { FClients.push_back(Client); }

void TGeometryServer::RemoveClient(TGeometryClient* Client) {
    const auto At = std::find(FClients.begin(), FClients.end(), Client);
    if (At != FClients.end()) FClients.erase(At);
}

void TGeometryServer::DetachClients() {
    while (!FClients.empty()) {
        TGeometryClient* Client = FClients.back();
        FClients.pop_back();
        Client->Server = nullptr;
    }
}

TGeometryList* TGeometryServer::GetActiveDocument() const {
    TGeometryList* Document = nullptr;
    if (OnGetActiveDocument) OnGetActiveDocument(Document);
    return Document;
}

// Clients are walked by index and the index checked each time, so a client that leaves during the
// dispatch cannot send it past the end of the list.
void TGeometryServer::DispatchMessage(TGeoMessage& Message) {
    if (GConsole) GConsole->WriteLine(GeoMessageLogLine(TimeText(), Message));
    ActiveList = Message.List;
    for (int I = ClientCount() - 1; I >= 0; --I)
        if (I < ClientCount()) FClients[static_cast<size_t>(I)]->DoMessage(Message);
}

void TGeometryServer::BroadcastDraw(IGraphics& View) {
    for (int I = ClientCount() - 1; I >= 0; --I)
        if (I < ClientCount()) FClients[static_cast<size_t>(I)]->DoDraw(View);
}

void TGeometryServer::SetActiveDocument(TGeometryList* Document) {
    if (Document == ActiveList) return;
    ActiveList = Document;
    if (ActiveList) ActiveList->SendMessage(std::make_unique<TGeoActiveListChange>());
}

void TGeometryServer::SelectionChanged() {
    if (ActiveList) ActiveList->SendMessage(std::make_unique<TGeoSelectionChange>());
}

void TGeometryServer::DocumentClosed(TGeometryList* Document) {
    if (!Document) return;
    if (Document == ActiveList) ActiveList = nullptr;
    for (int I = ClientCount() - 1; I >= 0; --I)
        if (I < ClientCount()) FClients[static_cast<size_t>(I)]->DoDocumentClosed(Document);
}

// ---- TGeometryClient ----

TGeometryClient::TGeometryClient(TGeometryServer* AServer) : Server(AServer) { Register(); }

TGeometryClient::~TGeometryClient() { Unregister(); }

void TGeometryClient::Register() {
    if (Server) Server->AddClient(this);
}

void TGeometryClient::Unregister() {
    if (Server) Server->RemoveClient(this);
}

TGeometryList* TGeometryClient::ActiveDocument() const { return Server ? Server->GetActiveDocument() : nullptr; }

void TGeometryClient::DoMessage(TGeoMessage& Message) {
    if (OnMessage) OnMessage(Message);
}

void TGeometryClient::DoDraw(IGraphics& View) {
    if (OnDraw) OnDraw(View);
}

void TGeometryClient::DoDocumentClosed(TGeometryList* Document) {
    if (OnDocumentClosed) OnDocumentClosed(Document);
}

}  // namespace sarnova
