// Handlers run inside Qt's event loop, which an exception must not cross: an
// error that stops a command reaches the user in the error box instead, and
// whatever the command did before it stays.
#pragma once

#include "UserInterface.h"

#include <exception>

template <typename F> void Guarded(F&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        Ui().ShowError(e);
    }
}
