#pragma once

#include <exception>

class QWidget;

// The program's standard error message: an error that ends a handler is shown
// in a message box over `parent`, and the program goes on.
void showErrorMessage(QWidget* parent, const std::exception& error);
