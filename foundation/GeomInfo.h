// How geometry kernels report problems per object, and the parameter list of curve digitisation.
#pragma once
#include <string>
#include <vector>

#include "foundation/GeomBox.h"

namespace sarnova {

// Curve parameter values at which a curve is sampled.
using TDigitisationParameters = std::vector<double>;

// One problem report about one object. Copied with its text.
struct TInfoMessage {
    // The object the message is about; the collector groups messages by it. Identity only.
    const void* Sender = nullptr;
    // What the user is shown, e.g. "Incorrect Referenced Control Point (Index: 3)".
    std::string Text;
    // Where the problem lies. Starts empty; producers grow it with the points concerned.
    TMBox Box = EmptyBox;
};

// Collector of problem reports: the document's tracker, or an entity forwarding to its list.
class ITrackInfo {
public:
    virtual ~ITrackInfo();
    // Records one message under its Sender.
    virtual void AddInfoMessage(const TInfoMessage& Message) = 0;
    // Drops every message recorded for Sender.
    virtual void ClearInfoMessages(const void* Sender) = 0;
};

}  // namespace sarnova
