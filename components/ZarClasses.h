// Shared bases of the library's non-visual components.
#pragma once

#include "../framework/Classes.h"

#include <string>

// Common ancestor of the library's non-visual components.
class TZarComponent : public TComponent {
public:
    explicit TZarComponent(TComponent* AOwner) : TComponent(AOwner) {}
};

// A component that performs one action on request.
class TZarExecComponent : public TZarComponent {
public:
    explicit TZarExecComponent(TComponent* AOwner) : TZarComponent(AOwner), designExecute_(L"(Execute)") {}
    // Performs the action; the base has none and answers false.
    virtual bool Execute() { return false; }
    // A design-time trigger: writing exactly "(Busy...)" runs Execute once; it always reads "(Execute)".
    const std::wstring& DesignExecute() const { return designExecute_; }
    void SetDesignExecute(const std::wstring& v);

private:
    std::wstring designExecute_;
};
