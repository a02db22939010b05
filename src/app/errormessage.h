#pragma once

#include <exception>

class QWidget;

namespace vistado {

// The program's standard error message: an error that ends a handler is shown
// in a message box over `parent`, and the program goes on.
void showErrorMessage(QWidget* parent, const std::exception& error);

// From now on the standard error message goes to standard error, one line, instead of a
// message box: for runs without a window, where nobody could close the box.
void showErrorMessagesOnStandardError();

}  // namespace vistado
