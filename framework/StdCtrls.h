// Standard controls, each a subclassed system control.
#pragma once

#include "Forms.h"

// A push button. Default makes Enter press it, Cancel makes Escape press it; a click sets the form's
// modal result to the button's ModalResult before OnClick runs.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    void Click() override;
    void WndProc(TMessage& m) override;
    void SetParent(TWinControl* p) override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    TForm* ParentForm() const;
    bool default_ = false, cancel_ = false;
    int modalResult_ = mrNone;
};

// The form a control sits on, or null.
TForm* GetParentForm(const TControl* c);
