// Object model the components stand on: components with owners and removal notices, events, errors.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;

protected:
    // Copied only as part of a whole derived object (a style record's value copy), never sliced
    // through the base.
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
};

class TPersistent : public TObject {};

// An error with a message shown to the user as it stands.
class Exception : public std::exception {
public:
    explicit Exception(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return "Exception"; }

private:
    std::wstring message_;
};

// A failed file operation; the message follows the error code.
class EInOutError : public Exception {
public:
    explicit EInOutError(unsigned long code);
    EInOutError(unsigned long code, std::wstring message) : Exception(std::move(message)), code_(code) {}
    unsigned long ErrorCode() const { return code_; }
    static std::wstring MessageFor(unsigned long code);

private:
    unsigned long code_;
};

// Event slots: "assigned" means the function is non-empty; called with the sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;
TShiftState ShiftStateFromKeys(unsigned long mkFlags);
// Shift, Ctrl and Alt as they stand for the key message being handled.
TShiftState KeyboardShiftState();

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
// A request for a context menu at a screen point.
using TContextPopupEvent = std::function<void(TObject* Sender, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned { csLoading = 1, csDesigning = 2, csDestroying = 4 };

// A component owns the components created with it as owner and destroys them with itself. Components
// that asked for free notification hear when another goes away.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::wstring& Name() const { return name_; }
    void SetName(std::wstring name) { name_ = std::move(name); }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int i) const { return components_[static_cast<size_t>(i)]; }
    TComponent* FindComponent(const std::wstring& name) const;

    // Design mode is never on at run time; tests may switch it on to check design-time rules.
    unsigned ComponentState() const { return state_; }
    bool Designing() const { return (state_ & csDesigning) != 0; }
    void SetDesigning(bool on);

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    // Destroys one of the components this one owns, now (a view that is replaced); a component owned
    // by another is left alone. Owners are the only ones that destroy components.
    void DestroyComponent(TComponent* c);
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Destroys the owned components now, newest first; derived destructors call it while they are whole.
    void DestroyComponents();
    unsigned state_ = 0;

private:
    TComponent* owner_ = nullptr;
    std::wstring name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// Creates an owned component; the owner destroys it.
template <typename T, typename... Args> T* New(TComponent* owner, Args&&... args) {
    return new T(owner, std::forward<Args>(args)...); // NOLINT: owned by `owner`
}

// A list of text lines whose every change fires OnChange.
class TStringList : public TPersistent {
public:
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::wstring& operator[](int i) const { return lines_[static_cast<size_t>(i)]; }
    const std::vector<std::wstring>& Lines() const { return lines_; }
    void Add(const std::wstring& s) {
        lines_.push_back(s);
        Changed();
    }
    void Delete(int i) {
        lines_.erase(lines_.begin() + i);
        Changed();
    }
    void Set(int i, const std::wstring& s) {
        lines_[static_cast<size_t>(i)] = s;
        Changed();
    }
    void Clear() {
        lines_.clear();
        Changed();
    }
    void Assign(const std::vector<std::wstring>& lines) {
        lines_ = lines;
        Changed();
    }
    TNotifyEvent OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    std::vector<std::wstring> lines_;
};
