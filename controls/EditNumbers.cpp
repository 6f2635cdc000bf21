#include "controls/EditNumbers.h"

#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// The tab widget whose page Widget is, or nullptr.
QTabWidget* PageOwner(QWidget* Widget) {
    auto* Stack = qobject_cast<QStackedWidget*>(Widget->parentWidget());
    return Stack ? qobject_cast<QTabWidget*>(Stack->parentWidget()) : nullptr;
}

}  // namespace

namespace {

[[noreturn]] void RefuseEdit(QLineEdit* Edit) {
    ShowControlPage(Edit);
    Edit->setFocus();
    throw EConvertError("Unable to convert text to number");
}

}  // namespace

double EditToFloat(QLineEdit* Edit, bool Strict) {
    double Value = 0;
    if (TryStrToFloat(Edit->text().toStdString(), Value)) return Value;
    if (!Strict) return 0;
    RefuseEdit(Edit);
}

int EditToInteger(QLineEdit* Edit, bool Strict) {
    int Value = 0;
    if (TryStrToInt(Edit->text().trimmed().toStdString(), Value)) return Value;
    if (!Strict) return 0;
    RefuseEdit(Edit);
}

void ShowControlPage(QWidget* Control) {
    if (PageOwner(Control)) return;
    for (QWidget* Widget = Control->parentWidget(); Widget && !Widget->isWindow(); Widget = Widget->parentWidget()) {
        if (QTabWidget* Tabs = PageOwner(Widget)) {
            Tabs->setCurrentWidget(Widget);
            return;
        }
    }
}

}  // namespace sarnova
