// Standard controls, each a subclassed system control.
#pragma once

#include "framework/Forms.h"

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

// A single- or multi-line edit control. Its length limit is MaxLength characters, or with MaxLength 0 what
// the control can hold.
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    std::wstring Text() const;
    // Raises "Text exceeds memo capacity", and leaves the control empty, for a text longer than MaxLength
    // or one the control does not take whole.
    void SetText(const std::wstring& text);
    size_t MaxLength() const { return maxLength_; }
    void SetMaxLength(size_t n);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);

    void SelectAll();
    void CopyToClipboard();
    void PasteFromClipboard();
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void ApplyColor(TColor c) override;
    void PutText();
    [[noreturn]] void Refuse();
    bool readOnly_ = false;
    bool border_ = true;
    size_t maxLength_ = 0;
    win::Brush background_; // answers the colour request while the window lives
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* AOwner);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v) { scrollBars_ = v; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v) { wordWrap_ = v; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }
    void SetBorder(bool v) { border_ = v; }
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    bool wordWrap_ = true, wantReturns_ = true;
};

// An editable combo box with a drop-down list of items. Keys pressed and characters typed into its text
// reach KeyDown and KeyPress.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    // The window goes first, while the edit box's part that answers its messages is still here.
    ~TComboBox() override { DestroyWnd(); }
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    const std::wstring& Items(int i) const { return items_[static_cast<size_t>(i)]; }
    void AddItem(const std::wstring& item);
    void SetItemHeight(int h);
    // The edit box inside the combo box (the window that has the focus while the user types).
    HWND EditHandle();
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void ScaleBy(int to, int from) override;

private:
    // The edit box the system makes inside the combo box, subclassed so that its keys reach the combo
    // box's key events (Enter among them).
    class TEditPart final : public TWindowOwner {
    public:
        explicit TEditPart(TComboBox& box) : box_(box) {}
        ~TEditPart() = default;
        TEditPart(const TEditPart&) = delete;
        TEditPart& operator=(const TEditPart&) = delete;
        void WndProc(TMessage& m) override;

    private:
        TComboBox& box_;
    };
    std::vector<std::wstring> items_;
    int itemHeight_ = 16;
    TEditPart edit_{*this};
};
