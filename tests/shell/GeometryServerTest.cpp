#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/Console.h"
#include "platform/RecordingGraphics.h"
#include "shell/GeometryServer.h"

namespace sarnova {
namespace {

// Collects the console lines written while it lives.
class TConsoleCapture {
public:
    TConsoleCapture() {
        GConsole->OnLine = [this](const std::string& Line) { Lines.push_back(Line); };
    }
    ~TConsoleCapture() { GConsole->OnLine = nullptr; }
    std::vector<std::string> Lines;
};

// The text after the time stamp: "Message: ...".
std::string AfterTime(const std::string& Line) {
    const auto End = Line.find("] ");
    return Line.size() > 0 && Line[0] == '[' && End != std::string::npos ? Line.substr(End + 2) : "?" + Line;
}

// A document as a document window wires it: its broadcasts go to the hub.
struct TWiredDocument {
    explicit TWiredDocument(TGeometryServer& Hub) {
        List.OnMessage = [&Hub](TGeoMessage& Message) { Hub.DispatchMessage(Message); };
    }
    TGeometryList List;
};

// A client that notes its tag and the class of everything it receives.
std::unique_ptr<TGeometryClient> RecordingClient(TGeometryServer* Hub, char Tag, std::vector<std::string>& Seen) {
    auto Client = std::make_unique<TGeometryClient>(Hub);
    Client->OnMessage = [&Seen, Tag](TGeoMessage& Message) {
        Seen.push_back(std::string(1, Tag) + ":" + ClassNameOf(typeid(Message)));
    };
    Client->OnDraw = [&Seen, Tag](IGraphics&) { Seen.push_back(std::string(1, Tag) + ":draw"); };
    return Client;
}

TEST(GeometryServer, LogsEveryMessageWithItsSender) {
    TGeometryServer Hub;
    TGeometryList List;
    TGeometry Named;
    Named.SetName("Hull");
    TGeometry Unnamed;
    TConsoleCapture Console;

    TGeoSelectionChange FromNamed;
    FromNamed.SenderGeometry = &Named;
    FromNamed.List = &List;
    Hub.DispatchMessage(FromNamed);
    TGeoGeometryChange FromUnnamed;
    FromUnnamed.SenderGeometry = &Unnamed;
    Hub.DispatchMessage(FromUnnamed);
    TGeoListChange FromList;
    FromList.SenderList = &List;
    Hub.DispatchMessage(FromList);

    ASSERT_EQ(Console.Lines.size(), 3u);
    EXPECT_EQ(AfterTime(Console.Lines[0]), "Message: TGeoSelectionChange(TGeometry.Hull)");
    EXPECT_EQ(AfterTime(Console.Lines[1]), "Message: TGeoGeometryChange(TGeometry)");
    EXPECT_EQ(AfterTime(Console.Lines[2]), "Message: TGeoListChange(TGeometryList)");
}

TEST(GeometryServer, ClientsHearTheLastRegisteredFirst) {
    TGeometryServer Hub;
    std::vector<std::string> Seen;
    auto A = RecordingClient(&Hub, 'A', Seen);
    auto B = RecordingClient(&Hub, 'B', Seen);
    auto Silent = std::make_unique<TGeometryClient>(&Hub);  // no handlers: skipped quietly
    TWiredDocument Document(Hub);

    Document.List.SendMessage(std::make_unique<TGeoSelectionChange>());
    TRecordingGraphics View;
    Hub.BroadcastDraw(View);
    EXPECT_EQ(Seen, (std::vector<std::string>{"B:TGeoSelectionChange", "A:TGeoSelectionChange", "B:draw", "A:draw"}));
    EXPECT_EQ(Hub.GetActiveList(), &Document.List);

    B.reset();
    EXPECT_EQ(Hub.ClientCount(), 2);
    EXPECT_EQ(Hub.Clients(0), A.get());
}

TEST(GeometryServer, WithoutClientsAMessageIsStillLoggedAndTakesTheActiveList) {
    TGeometryServer Hub;
    TWiredDocument Document(Hub);
    TConsoleCapture Console;
    Document.List.SendMessage(std::make_unique<TGeoListChange>());
    EXPECT_EQ(Console.Lines.size(), 1u);
    EXPECT_EQ(Hub.GetActiveList(), &Document.List);
}

TEST(GeometryServer, ActivationAndSelectionRequestsGoThroughTheDocument) {
    TGeometryServer Hub;
    std::vector<std::string> Seen;
    auto Client = RecordingClient(&Hub, 'C', Seen);
    TWiredDocument First(Hub), Second(Hub);

    Hub.SelectionChanged();  // no active list yet
    EXPECT_TRUE(Seen.empty());

    Hub.SetActiveDocument(&First.List);
    Hub.SetActiveDocument(&First.List);  // already active: nothing
    Hub.SelectionChanged();
    Hub.SetActiveDocument(&Second.List);
    EXPECT_EQ(Seen, (std::vector<std::string>{"C:TGeoActiveListChange", "C:TGeoSelectionChange",
                                              "C:TGeoActiveListChange"}));
    EXPECT_EQ(Hub.GetActiveList(), &Second.List);
}

TEST(GeometryServer, AClosedDocumentIsForgotten) {
    TGeometryServer Hub;
    std::vector<std::string> Seen;
    auto Client = RecordingClient(&Hub, 'C', Seen);
    auto Document = std::make_unique<TWiredDocument>(Hub);
    TGeometryList* Closed = &Document->List;
    Hub.SetActiveDocument(Closed);
    Seen.clear();

    Hub.DocumentClosed(Closed);
    Document.reset();
    EXPECT_EQ(Hub.GetActiveList(), nullptr);
    Hub.SelectionChanged();  // would reach the freed document
    EXPECT_TRUE(Seen.empty());

    // A new document that happens to take the old one's place is still an activation.
    TWiredDocument Next(Hub);
    Hub.SetActiveDocument(&Next.List);
    EXPECT_EQ(Seen, (std::vector<std::string>{"C:TGeoActiveListChange"}));
}

TEST(GeometryServer, ActiveDocumentComesFromTheOwner) {
    TGeometryServer Hub;
    TGeometryClient Client(&Hub);
    EXPECT_EQ(Client.ActiveDocument(), nullptr);
    TGeometryList Document;
    Hub.OnGetActiveDocument = [&](TGeometryList*& Answer) { Answer = &Document; };
    EXPECT_EQ(Client.ActiveDocument(), &Document);
    EXPECT_EQ(TGeometryClient(nullptr).ActiveDocument(), nullptr);
}

TEST(GeometryServer, AClientFreedAfterTheHubDoesNotReachIt) {
    auto Hub = std::make_unique<TGeometryServer>();
    Hub->OnGetActiveDocument = [](TGeometryList*& Answer) { Answer = reinterpret_cast<TGeometryList*>(1); };
    auto Client = std::make_unique<TGeometryClient>(Hub.get());
    Hub.reset();
    EXPECT_EQ(Client->GetServer(), nullptr);
    EXPECT_EQ(Client->ActiveDocument(), nullptr);
    Client.reset();
}

TEST(GeometryServer, AFailingClientEndsTheDispatch) {
    TGeometryServer Hub;
    std::vector<std::string> Seen;
    auto A = RecordingClient(&Hub, 'A', Seen);
    TGeometryClient Failing(&Hub);
    Failing.OnMessage = [](TGeoMessage&) { throw std::runtime_error("client failed"); };
    TWiredDocument Document(Hub);
    EXPECT_THROW(Document.List.SendMessage(std::make_unique<TGeoSelectionChange>()), std::runtime_error);
    EXPECT_TRUE(Seen.empty());
}

}  // namespace
}  // namespace sarnova
