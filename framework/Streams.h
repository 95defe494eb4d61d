// The component stream: a control's class and main properties as text, for the clipboard's component
// format. Reading knows the framework's own control classes.
#pragma once

#include "framework/Controls.h"

#include <string>

class EClassNotFound : public Exception {
public:
    using Exception::Exception;
};

class EReadError : public Exception {
public:
    using Exception::Exception;
};

// Writes one control: class name, caption, size. The size is given at the design density, so that a
// copy of the program on a display of another scaling reads the same control.
std::string WriteComponent(const std::string& className, const TControl& control);
// Reads one root component owned by `owner`. Raises EReadError for malformed data and EClassNotFound for
// a class this program does not know.
TComponent* ReadComponent(const std::string& bytes, TComponent* owner);
