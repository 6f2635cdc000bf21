#include "controls/VkDockPanelDrag.h"

#include <QMainWindow>
#include <QRubberBand>

#include "controls/VkDockPanel.h"
#include "controls/VkDockPanelLayout.h"
#include "controls/VkDockPanelManager.h"
#include "controls/VkDockPanelSites.h"

namespace sarnova {

namespace {

bool IsDocked(const TVkDockForm* Form) { return Form->HostSite() || !Form->isFloating(); }

// Whether Widget is Form or lies inside it.
bool Within(const QWidget* Widget, const QWidget* Form) {
    for (const QWidget* W = Widget; W; W = W->parentWidget()) {
        if (W == Form) return true;
    }
    return false;
}

}  // namespace

TVkDockTarget FindDockTarget(TVkDockForm* Source, QPoint ScreenPoint) {
    TVkDockTarget Target;
    auto* Tabbed = qobject_cast<TVkTabbedDockSiteform*>(Source->HostSite());
    if (IsDocked(Source) && !Tabbed && Source->isVisible() && ScreenRectOf(Source).contains(ScreenPoint)) {
        Target.Stay = Target.Accepted = true;
        Target.Preview = ScreenRectOf(Source);
        return Target;
    }
    if (!GDockingManager) return Target;
    const TVkDockSiteList& Sites = GDockingManager->DockSiteForms;
    for (int I = Sites.Count() - 1; I >= 0; --I) {
        auto* Site = qobject_cast<TVkDockSiteForm*>(Sites.Item(I));
        if (!Site || !Site->isVisible() || Within(Site, Source) || !Site->DropRect().contains(ScreenPoint)) continue;
        Target.Site = Site;
        Target.Preview = Site->DropRect();
        Target.Accepted = Site->DockOver(Source, ScreenPoint, Target.Preview);
        return Target;
    }
    const TVkDockSiteList& Panels = GDockingManager->DockSitePanels;
    for (bool Edges : {false, true}) {
        for (int I = Panels.Count() - 1; I >= 0; --I) {
            auto* Panel = qobject_cast<TVkDockPanel*>(Panels.Item(I));
            if (!Panel || Panel->HasSplitter() != Edges || !Panel->IsDockSite()) continue;
            const QWidget* Owner = Panel->OwnerForm();
            if (!Owner || !Owner->isVisible() || Within(Owner, Source)) continue;
            if (!Edges && !Panel->isVisible()) continue;
            if (!(Edges ? Panel->InfluenceRect() : Panel->ScreenRect()).contains(ScreenPoint)) continue;
            Target.Panel = Panel;
            Target.Preview = Panel->ScreenRect();
            Target.Accepted = Panel->DockOver(Source, ScreenPoint, Target.Preview);
            return Target;
        }
    }
    return Target;
}

void DropDockForm(TVkDockForm* Source, QPoint ScreenPoint, const QRect& FloatRect) {
    // A tab let go over its own site is not undocked.
    if (auto* Tabbed = qobject_cast<TVkTabbedDockSiteform*>(Source->HostSite());
        Tabbed && ScreenRectOf(Tabbed).contains(ScreenPoint))
        return;
    const TVkDockTarget Target = FindDockTarget(Source, ScreenPoint);
    if (Target.Stay) return;
    if (Target.Accepted && Target.Site) {
        Target.Site->DockDrop(Source, ScreenPoint);
    } else if (Target.Accepted && Target.Panel) {
        Target.Panel->DockDrop(Source, ScreenPoint);
    } else {
        FloatForm(Source, FloatRect);
    }
}

TVkDockDrag::TVkDockDrag(TVkDockForm* Source, QPoint GrabOffset)
    : Source(Source), GrabOffset(GrabOffset), Outline(std::make_unique<QRubberBand>(QRubberBand::Rectangle)) {}

TVkDockDrag::~TVkDockDrag() = default;

QRect TVkDockDrag::FloatRectAt(QPoint ScreenPoint) const { return UndockRect(Source, ScreenPoint - GrabOffset); }

void TVkDockDrag::Move(QPoint ScreenPoint) {
    const TVkDockTarget Target = FindDockTarget(Source, ScreenPoint);
    Outline->setGeometry(Target.Accepted ? Target.Preview : FloatRectAt(ScreenPoint));
    Outline->show();
}

void TVkDockDrag::Drop(QPoint ScreenPoint) {
    Outline->hide();
    DropDockForm(Source, ScreenPoint, FloatRectAt(ScreenPoint));
}

}  // namespace sarnova
