// The date-and-time window.
#pragma once

#include "../framework/StdCtrls.h"

class TDTForm : public TForm {
public:
    explicit TDTForm(TComponent* AOwner);
};

extern TDTForm* DTForm;
