// The collapsible group box of the property frames: its caption is a push button across the top edge
// that collapses the box to the caption and expands it again. A manager on a frame remembers, for the
// rest of the program run, which boxes the user collapsed, so that the next frame of the same name
// opens the same way. The remembered states live in memory only.
#pragma once
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/VkControls.h"

namespace sarnova {

enum TVkGroupBoxState : std::uint8_t { gsExpanded, gsCollapsed };

class TVkGroupBoxManager;

// The height of a collapsed box whose font is FontHeight pixels high (negative, as fonts give their
// pixel height) with an inset of Border pixels.
int GroupBoxCollapsedHeight(int FontHeight, int Border);

// The remembered states of one owner's boxes, by box name.
struct TVkGroupBoxSavedState {
    std::string Name;
    TVkGroupBoxState State = gsExpanded;
};

struct TVkGroupBoxFormSavedState {
    std::string OwnerName;
    std::vector<TVkGroupBoxSavedState> States;
};

// Every owner's remembered states, in the order the owners were first met.
class TVkGroupBoxForms {
public:
    // The first entry for Owner, or a new one appended.
    TVkGroupBoxFormSavedState& FindOrAdd(const std::string& Owner);
    TVkGroupBoxFormSavedState* Find(const std::string& Owner);
    int Count() const { return static_cast<int>(Forms.size()); }
    void Clear() { Forms.clear(); }

private:
    std::vector<TVkGroupBoxFormSavedState> Forms;
};

extern TVkGroupBoxForms GGroupBoxStates;

class TVkGroupBox : public QWidget {
    Q_OBJECT
public:
    explicit TVkGroupBox(QWidget* Parent = nullptr);
    TVkGroupBox(const std::string& Caption, QWidget* Parent);
    ~TVkGroupBox() override;

    const std::string& GetCaption() const { return Caption; }
    void SetCaption(const std::string& Value);

    TVkGroupBoxState InitialState = gsExpanded;
    TVkGroupBoxState GetState() const { return Collapsed ? gsCollapsed : gsExpanded; }
    // Collapsing keeps the height for the next expansion and hides the children; expanding brings
    // both back. A manager linked to the box remembers the new state.
    virtual void SetState(TVkGroupBoxState Value);
    void Toggle();
    int GetExpandedHeight() const { return ExpandedHeight; }

    int GetBorder() const { return Border; }
    // Negative values are ignored.
    void SetBorder(int Value);

    // After the children are in place: disabled boxes disable their children, then InitialState.
    void Loaded();

    TVkGroupBoxManager* GetManager() const { return Manager; }
    void SetManager(TVkGroupBoxManager* Value) { Manager = Value; }

    // The caption button across the top edge.
    QRect CaptionRect();
    bool GetCaptionPressed() const { return CaptionPressed; }
    bool GetCaptionHot() const { return CaptionHot; }
    TVkThemeServer& GetThemeServer() { return *ThemeServer; }

    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    // The font height as the class library gives it: negative pixels.
    int FontHeight() const;
    void AdjustClientRect();
    void DrawCaption(QPainter& Canvas);
    void SetCaptionHot(bool Value);
    void SetChildrenEnabled(bool Value);

    std::unique_ptr<TVkThemeServer> ThemeServer;
    std::string Caption;
    bool Collapsed = false;
    int ExpandedHeight = 0;
    bool CaptionPressed = false;
    bool CaptionHot = false;
    int Border = 0;
    TVkGroupBoxManager* Manager = nullptr;
    // The children the collapse hid, shown again on expanding; children hidden on purpose stay hidden.
    std::vector<QWidget*> HiddenChildren;
    QSize SavedMinimumSize;
    QSize SavedMaximumSize;
    bool OwnEnabled = true;
};

// Links the group boxes placed directly on its owner and remembers their states under the owner's
// name (the owner's object name; owners and boxes without a name are not remembered).
class TVkGroupBoxManager : public QObject {
    Q_OBJECT
public:
    explicit TVkGroupBoxManager(QWidget* Owner);
    // After the owner's boxes are in place.
    void Loaded();
};

// Restores Box to the state remembered for its owner and name, or remembers its current state.
void RegisterGroupBox(TVkGroupBox& Box);
// Remembers Box's current state, when its owner and name are remembered already.
void UpdateGroupBoxState(TVkGroupBox& Box);

}  // namespace sarnova
