#include "framework/Accessible.h"

#include "framework/Dispatch.h"

#include <oleacc.h>

#include <utility>

namespace {

// The interfaces' identities, defined here: the toolchain's import library gives IID_IAccessible as
// code, not data.
constexpr GUID kIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

HRESULT Text(const std::wstring& s, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (s.empty()) return S_FALSE;
    *out = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* v, LONG id) {
    v->vt = VT_I4;
    v->lVal = id;
}

// The reference count and the interfaces both kinds of object answer for; whatever else is asked for is
// OtherInterface's to answer.
class TAccessibleUnknown : public IAccessible {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) final {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualGUID(id, kIUnknown) && !IsEqualGUID(id, kIDispatch) && !IsEqualGUID(id, kIAccessible))
            return OtherInterface(id, out);
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() final { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() final {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~TAccessibleUnknown() = default;
    virtual HRESULT OtherInterface(REFIID, void**) { return E_NOINTERFACE; }

private:
    ULONG refs_ = 1;
};

} // namespace

// One control's client area as a reader sees it. Everything it reports is read from the control at the
// moment of the call; the window-level parts (the parent) come from the system's object for the window.
class TAccessibleObject final : public TAccessibleUnknown {
public:
    TAccessibleObject(TAccessibleElements& control, win::ComRef<IAccessible> standard)
        : control_(&control), standard_(std::move(standard)) {}

    void Disconnect() {
        control_ = nullptr;
        standard_.reset();
        CoDisconnectObject(static_cast<IUnknown*>(this), 0); // readers in other processes let go too
    }

    // IDispatch: readers use the interface's own methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!control_) return CO_E_OBJNOTCONNECTED;
        return standard_ ? standard_->get_accParent(parent) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        if (!control_) return CO_E_OBJNOTCONNECTED;
        *count = control_->ElementCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        int c = 0;
        if (HRESULT hr = Resolve(child, c); hr != S_OK) return hr;
        if (c == 0) return E_INVALIDARG;
        return WindowObject(c, out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return Answer(child, out, [&](int c) { return control_->ElementName(c); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return Answer(child, out, [](int) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return Answer(child, out, [&](int c) { return control_->ElementDescription(c); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return Answer(child, out, [](int) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return Answer(child, out, [](int) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return Answer(child, out, [&](int c) { return control_->ElementDefaultAction(c); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = -1;
        int c = 0;
        HRESULT hr = Resolve(child, c);
        return hr == S_OK ? S_FALSE : hr;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        return Number(child, out, [&](int c) { return control_->ElementRole(c); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return Number(child, out, [&](int c) { return control_->ElementState(c); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        if (!control_) return CO_E_OBJNOTCONNECTED;
        const int focused = control_->FocusedElement();
        if (focused < 0) return S_FALSE;
        SetChild(out, focused);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        return control_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        int c = 0;
        if (HRESULT hr = Resolve(child, c); hr != S_OK) return hr;
        if (flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
        return control_->FocusElement(c) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        if (!x || !y || !w || !h) return E_POINTER;
        *x = *y = *w = *h = 0;
        int c = 0;
        if (HRESULT hr = Resolve(child, c); hr != S_OK) return hr;
        RECT r = Screen(c);
        *x = r.left;
        *y = r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        int c = 0;
        if (HRESULT hr = Resolve(start, c); hr != S_OK) return hr;
        const long count = control_->ElementCount();
        long to = 0;
        if (c == 0) {
            if (direction == NAVDIR_FIRSTCHILD)
                to = 1;
            else if (direction == NAVDIR_LASTCHILD)
                to = count;
            else
                return standard_ ? standard_->accNavigate(direction, start, out) : S_FALSE; // siblings
        } else {
            if (direction == NAVDIR_NEXT)
                to = c + 1;
            else if (direction == NAVDIR_PREVIOUS)
                to = c - 1;
            else if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)
                return E_INVALIDARG;
            else
                return S_FALSE; // no spatial navigation among the children
        }
        if (to < 1 || to > count) return S_FALSE;
        return Element(static_cast<int>(to), out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        if (!control_) return CO_E_OBJNOTCONNECTED;
        const POINT p{x, y};
        RECT self = Screen(0);
        if (!PtInRect(&self, p)) return S_FALSE;
        // The topmost child under the point: the last one painted there.
        for (int c = control_->ElementCount(); c >= 1; --c) {
            RECT r = Screen(c);
            if (control_->ElementVisible(c) && PtInRect(&r, p)) return Element(c, out);
        }
        SetChild(out, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        int c = 0;
        if (HRESULT hr = Resolve(child, c); hr != S_OK) return hr;
        if (control_->ElementDefaultAction(c).empty()) return DISP_E_MEMBERNOTFOUND;
        try {
            control_->DoElementDefaultAction(c);
        } catch (...) {
            ReportDispatchError(); // no exception crosses into the reader's call
            return E_FAIL;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~TAccessibleObject() override = default;

    // The element a child id names.
    HRESULT Resolve(const VARIANT& child, int& element) const {
        if (!control_) return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal < CHILDID_SELF || child.lVal > control_->ElementCount()) return E_INVALIDARG;
        element = static_cast<int>(child.lVal);
        return S_OK;
    }
    // A child with a window of its own is an object of its own; a painted one, an element of this one.
    HRESULT WindowObject(int element, IDispatch** out) const {
        const HWND window = control_->ElementWindow(element);
        if (!window) return S_FALSE;
        return AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), kIDispatch,
                                          reinterpret_cast<void**>(out));
    }
    HRESULT Element(int element, VARIANT* out) const {
        IDispatch* object = nullptr;
        if (WindowObject(element, &object) == S_OK && object) {
            out->vt = VT_DISPATCH;
            out->pdispVal = object;
        } else {
            SetChild(out, element);
        }
        return S_OK;
    }
    // The element's place on the screen.
    RECT Screen(int element) const {
        RECT r = control_->ElementRect(element);
        MapWindowPoints(control_->ElementsWindow(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    template <class F> HRESULT Answer(const VARIANT& child, BSTR* out, F read) const {
        if (out) *out = nullptr;
        int c = 0;
        if (HRESULT hr = Resolve(child, c); hr != S_OK) return hr;
        return Text(read(c), out);
    }
    template <class F> HRESULT Number(const VARIANT& child, VARIANT* out, F read) const {
        if (!out) return E_POINTER;
        out->vt = VT_EMPTY;
        int c = 0;
        if (HRESULT hr = Resolve(child, c); hr != S_OK) return hr;
        SetChild(out, read(c));
        return S_OK;
    }

    TAccessibleElements* control_;
    win::ComRef<IAccessible> standard_;
};

LRESULT AnswerGetObject(TAccessibleElements& control, win::ComRef<IAccessible>& object, WPARAM w, LPARAM l) {
    const HWND window = control.ElementsWindow();
    if (static_cast<LONG>(l) != OBJID_CLIENT) return DefWindowProcW(window, WM_GETOBJECT, w, l);
    if (!object) {
        win::ComRef<IAccessible> standard;
        if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, kIAccessible, standard.put())))
            standard.reset();
        object.reset(new TAccessibleObject(control, std::move(standard)));
    }
    return LresultFromObject(kIAccessible, w, object.get());
}

void DisconnectAccessible(win::ComRef<IAccessible>& object) {
    if (!object) return;
    // Every control's object is one of ours (AnswerGetObject made it).
    static_cast<TAccessibleObject*>(object.get())->Disconnect();
    object.reset();
}

std::wstring WithoutAccelerator(const std::wstring& caption) {
    std::wstring name;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size())
            ++i; // the mark goes, "&&" leaves one "&"
        else if (caption[i] == L'&')
            continue;
        name += caption[i];
    }
    return name;
}

// ---- a system control with a name of ours --------------------------------------------------------

namespace {

// The system's object for a standard control, with the name it lacks (a text box's label is painted, so
// the system finds none): everything else is the system's answer.
class TNamedObject final : public TAccessibleUnknown {
public:
    TNamedObject(win::ComRef<IAccessible> standard, std::wstring name)
        : s_(std::move(standard)), name_(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return s_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
        return s_->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
        return s_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                     EXCEPINFO* e, UINT* a) override {
        return s_->Invoke(d, r, l, f, p, v, e, a);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) return Text(name_, out);
        return s_->get_accName(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return s_->get_accParent(p); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return s_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** p) override {
        return s_->get_accChild(c, p);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* b) override { return s_->get_accValue(c, b); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* b) override {
        return s_->get_accDescription(c, b);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* v) override { return s_->get_accRole(c, v); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* v) override { return s_->get_accState(c, v); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* b) override { return s_->get_accHelp(c, b); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return s_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* b) override {
        return s_->get_accKeyboardShortcut(c, b);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* v) override { return s_->get_accFocus(v); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* v) override { return s_->get_accSelection(v); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* b) override {
        return s_->get_accDefaultAction(c, b);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return s_->accSelect(f, c); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT c) override {
        return s_->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT c, VARIANT* v) override {
        return s_->accNavigate(d, c, v);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* v) override {
        return s_->accHitTest(x, y, v);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return s_->accDoDefaultAction(c); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR b) override { return s_->put_accName(c, b); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR b) override { return s_->put_accValue(c, b); }

private:
    ~TNamedObject() override = default;
    HRESULT OtherInterface(REFIID id, void** out) override {
        return s_->QueryInterface(id, out); // other views of the control are the system's
    }
    win::ComRef<IAccessible> s_;
    std::wstring name_;
};

} // namespace

bool AnswerNamedGetObject(HWND h, const std::wstring& name, WPARAM w, LPARAM l, LRESULT& result) {
    if (name.empty() || static_cast<LONG>(l) != OBJID_CLIENT) return false;
    win::ComRef<IAccessible> standard;
    if (FAILED(CreateStdAccessibleObject(h, OBJID_CLIENT, kIAccessible, standard.put())) || !standard)
        return false;
    // The answer holds its own reference; ours goes at the end of the call.
    const win::ComRef<IAccessible> named(new TNamedObject(std::move(standard), name));
    result = LresultFromObject(kIAccessible, w, named.get());
    return true;
}
