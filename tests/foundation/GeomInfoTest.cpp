#include "foundation/GeomInfo.h"

#include <gtest/gtest.h>

#include <map>

#include "foundation/Geom.h"

using namespace sarnova;

namespace {

// A collector that groups by sender, as the document's tracker does.
class TCollector : public ITrackInfo {
public:
    std::map<const void*, std::vector<TInfoMessage>> Messages;
    void AddInfoMessage(const TInfoMessage& Message) override { Messages[Message.Sender].push_back(Message); }
    void ClearInfoMessages(const void* Sender) override { Messages.erase(Sender); }
};

}  // namespace

TEST(InfoMessage, ProducersGrowTheBoxAndCollectorsKeepCopies) {
    TCollector Collector;
    ITrackInfo& Track = Collector;
    const int CurveA = 0, CurveB = 0;
    {
        TInfoMessage M;
        M.Sender = &CurveA;
        M.Text = "Incorrect Referenced Control Point (Index: 3)";
        TRPoint(TMVector{1, 2, 3}).AddToBox(M.Box);
        TRPoint(TMVector{-1, 0, 5}).AddToBox(M.Box);
        Track.AddInfoMessage(M);
        M.Sender = &CurveB;
        Track.AddInfoMessage(M);
    }
    const TInfoMessage& Kept = Collector.Messages.at(&CurveA).front();
    EXPECT_EQ(Kept.Text, "Incorrect Referenced Control Point (Index: 3)");
    EXPECT_EQ(Kept.Box.Min, (TMVector{-1, 0, 3}));
    EXPECT_EQ(Kept.Box.Max, (TMVector{1, 2, 5}));
    EXPECT_EQ(Collector.Messages.at(&CurveB).front().Box, Kept.Box);
}
