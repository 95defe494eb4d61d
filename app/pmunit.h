// The clipboard window: a sizeable tool window showing the clipboard's contents.
#pragma once

#include "../framework/StdCtrls.h"

class Tpmform : public TForm {
public:
    explicit Tpmform(TComponent* AOwner);
};

extern Tpmform* pmform;
