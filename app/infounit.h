// The personal-information editor.
#pragma once

#include "../framework/StdCtrls.h"

class Tinfoform : public TForm {
public:
    explicit Tinfoform(TComponent* AOwner);
};

extern Tinfoform* infoform;
