// The "Openings" tool window: the flooding openings of the active document, each with the two groups it
// connects.
#pragma once
#include "shell/EntityTreeFloat.h"

namespace sarnova {

class TOpeningsForm : public TEntityTreeForm {
    Q_OBJECT
public:
    explicit TOpeningsForm(QWidget* Parent = nullptr);

protected:
    void FillTree(TGeometryList& Document) override;
};

// The Openings window, made on first use.
TOpeningsForm* GetOpeningsForm();

}  // namespace sarnova
