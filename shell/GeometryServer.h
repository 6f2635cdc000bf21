// The notification hub between the document windows and the tool windows. Document windows hand it
// every message their document broadcasts and every drawing pass of their view; tool windows register
// a TGeometryClient and receive them all, the last registered first. The hub logs each message on the
// console, remembers the document that spoke last and asks its owner which document is active.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace sarnova {

class IGraphics;
class TGeoMessage;
class TGeometryClient;
class TGeometryList;

class TGeometryServer {
public:
    TGeometryServer() = default;
    // Detaches every client first, so that a client freed later does not reach a freed hub.
    ~TGeometryServer();
    TGeometryServer(const TGeometryServer&) = delete;
    TGeometryServer& operator=(const TGeometryServer&) = delete;

    int ClientCount() const { return static_cast<int>(FClients.size()); }
    TGeometryClient* Clients(int Index) const { return FClients.at(static_cast<size_t>(Index)); }
    // Appends; the hub does not own its clients.
    void AddClient(TGeometryClient* Client);
    void RemoveClient(TGeometryClient* Client);
    // Removes every client and clears its server reference.
    void DetachClients();

    // The owner's answer to which document is active; Document stays nullptr when there is none.
    std::function<void(TGeometryList*& Document)> OnGetActiveDocument;
    // The owner's answer, nullptr without an owner callback.
    TGeometryList* GetActiveDocument() const;

    // The document that sent the last message or was last made active; not owned.
    TGeometryList* GetActiveList() const { return ActiveList; }

    // Logs "[<time>] Message: <class>(<sender class>.<sender name>)" (the short form "(<sender
    // class>)" for a list or an unnamed entity), makes the message's list the active one and hands
    // the message to every client from the last registered to the first. Errors of a client end the
    // dispatch and reach the sender.
    void DispatchMessage(TGeoMessage& Message);
    // Hands the view being painted to every client's draw handler, the last registered first.
    void BroadcastDraw(IGraphics& View);
    // A document other than the active list becomes it and broadcasts a TGeoActiveListChange, which
    // comes back through its window as a dispatched message. The same document again sends nothing.
    void SetActiveDocument(TGeometryList* Document);
    // Asks the active list to broadcast a TGeoSelectionChange; nothing without one.
    void SelectionChanged();
    // The document is being freed: it is no longer the active list, so that nothing is sent to it
    // and a new document at the same address still counts as a change. Every client hears of it
    // first, so that none keeps showing what is about to go.
    void DocumentClosed(TGeometryList* Document);

private:
    std::vector<TGeometryClient*> FClients;
    TGeometryList* ActiveList = nullptr;
};

// A tool window's connection to the hub; it lives as long as its window.
class TGeometryClient {
public:
    // Registers with Server; a nullptr server registers nothing.
    explicit TGeometryClient(TGeometryServer* Server);
    // Unregisters while the hub is still there.
    ~TGeometryClient();
    TGeometryClient(const TGeometryClient&) = delete;
    TGeometryClient& operator=(const TGeometryClient&) = delete;

    std::function<void(TGeoMessage& Message)> OnMessage;
    std::function<void(IGraphics& View)> OnDraw;
    // The document is about to be freed; a window that shows it lets go of it and of its entities.
    std::function<void(TGeometryList* Document)> OnDocumentClosed;

    // The hub, nullptr once the hub has gone.
    TGeometryServer* GetServer() const { return Server; }
    // The hub's active document; nullptr without a hub.
    TGeometryList* ActiveDocument() const;

    void DoMessage(TGeoMessage& Message);
    void DoDraw(IGraphics& View);
    void DoDocumentClosed(TGeometryList* Document);

private:
    friend class TGeometryServer;
    void Register();
    void Unregister();

    TGeometryServer* Server;
};

// The log line of a message sent at the given time text.
std::string GeoMessageLogLine(const std::string& Time, const TGeoMessage& Message);

}  // namespace sarnova
