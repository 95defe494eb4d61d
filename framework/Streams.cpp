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
// A width or height: plain decimal digits, 0 to 32767; anything else is refused.
int ReadExtent(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        throw EReadError(L"Invalid property value");
    int v = std::stoi(text);
    if (v > 32767) throw EReadError(L"Invalid property value");
    return v;
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
    int width = ReadExtent(w), height = ReadExtent(h);
    TControl* c = Construct(cls, owner);
    if (!c) throw EClassNotFound(L"Class " + win::ToWide(cls) + L" not found");
    c->SetCaption(win::ToWide(caption));
    c->SetBounds(0, 0, width, height);
    return c;
}
