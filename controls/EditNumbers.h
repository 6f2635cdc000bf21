// Helpers for the controls of forms: numbers read from edit boxes, with the offending field brought
// into view when the text is no number.
#pragma once

class QLineEdit;
class QWidget;

namespace sarnova {

// The edit's text as a number, "." as decimal separator, blanks around it ignored. A text that is no
// number: with Strict, the edit's page is shown, the edit gets the focus and EConvertError "Unable to
// convert text to number" is raised; without, 0 is returned.
double EditToFloat(QLineEdit* Edit, bool Strict);
// The same for a whole number.
int EditToInteger(QLineEdit* Edit, bool Strict);

// Makes the tab page holding Control the current page of its tab widget: the first page met going up
// from Control's parent. A control that is itself a page changes nothing.
void ShowControlPage(QWidget* Control);

}  // namespace sarnova
