#pragma once

#include <exception>
#include <string>

class QWidget;

namespace vistado {

// The program's standard error message: an error that ends a handler is shown
// in a message box over `parent`, and the program goes on.
void showErrorMessage(QWidget* parent, const std::exception& error);

// A run's closing message (a text of the program's 8-bit world), in a message box over
// `parent` the same way.
void showRunMessage(QWidget* parent, const std::string& text);

// From now on both go to standard error, one line each, instead of a message box: for runs
// without a window, where nobody could close the box. The run's message stands alone on its
// line, as the caption's messages do.
void showErrorMessagesOnStandardError();

}  // namespace vistado
