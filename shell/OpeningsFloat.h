// The "Openings" tool window: the flooding openings of the active document, each with the two groups it
// connects.
#pragma once
#include "shell/EntityTreeFloat.h"

namespace sarnova {

class TGeoOpening;

class TOpeningsForm : public TEntityTreeForm {
    Q_OBJECT
public:
    explicit TOpeningsForm(QWidget* Parent = nullptr);

    // Hides every other opening and open group, selects the opening and, with zoom on, shows it with
    // its two groups.
    void SelectOpening(TGeometryList& Document, TGeoOpening& Opening);

protected:
    void FillTree(TGeometryList& Document) override;
    void EntitySelected(TGeometryList& Document, TGeometry& Entity) override;
};

// The Openings window, made on first use.
TOpeningsForm* GetOpeningsForm();

}  // namespace sarnova
