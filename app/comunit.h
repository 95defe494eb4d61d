// The run-program dialog: a command line or a chosen file handed to the shell.
#pragma once

#include "../framework/StdCtrls.h"

class Tcommandform : public TForm {
public:
    explicit Tcommandform(TComponent* AOwner);
};

extern Tcommandform* commandform;
