// The clipboard window: a sizeable tool window showing the clipboard's contents.
#pragma once

#include "components/ZarTClipboard.h"

class Tpmform : public TForm {
public:
    explicit Tpmform(TComponent* AOwner);
    TZarClipboard* ZarClipboard1;
};

extern Tpmform* pmform;
