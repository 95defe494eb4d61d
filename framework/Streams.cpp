#include "Streams.h"

#include "ExtCtrls.h"
#include "StdCtrls.h"

#include <sstream>

namespace {
constexpr const char* kSignature = "QUENNEL-COMPONENT 1";

TControl* Construct(const std::string& cls, TComponent* owner) {
    if (cls == "TLabel") return New<TLabel>(owner);
    if (cls == "TButton") return New<TButton>(owner);
    if (cls == "TEdit") return New<TEdit>(owner);
    if (cls == "TMemo") return New<TMemo>(owner);
    if (cls == "TImage") return New<TImage>(owner);
    return nullptr;
}
} // namespace

std::string WriteComponent(const std::string& className, const TControl& control) {
    std::ostringstream out;
    out << kSignature << "\n"
        << className << "\n"
        << win::ToUtf8(control.Caption()) << "\n"
        << control.Width() << "\n"
        << control.Height() << "\n";
    return out.str();
}

TComponent* ReadComponent(const std::string& bytes, TComponent* owner) {
    // The clipboard block may be padded with zero bytes past the stream's end.
    std::istringstream in(bytes.substr(0, bytes.find('\0')));
    std::string signature, cls, caption, w, h;
    if (!std::getline(in, signature) || signature != kSignature || !std::getline(in, cls) ||
        !std::getline(in, caption) || !std::getline(in, w) || !std::getline(in, h))
        throw EReadError(L"Invalid stream format");
    int width = 0, height = 0;
    try {
        width = std::stoi(w);
        height = std::stoi(h);
    } catch (const std::exception&) {
        throw EReadError(L"Invalid property value");
    }
    TControl* c = Construct(cls, owner);
    if (!c) throw EClassNotFound(L"Class " + win::ToWide(cls) + L" not found");
    c->SetCaption(win::ToWide(caption));
    c->SetBounds(0, 0, width, height);
    return c;
}
