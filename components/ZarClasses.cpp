#include "ZarClasses.h"

void TZarExecComponent::SetDesignExecute(const std::wstring& v) {
    if (v == L"(Busy...)") Execute();
    designExecute_ = L"(Execute)";
}
