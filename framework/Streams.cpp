#include "framework/Streams.h"

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

#include <string_view>

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
// The lines of a text one by one, each up to the next line feed (the last may have none).
class TLines {
public:
    explicit TLines(std::string_view text) : rest_(text) {}
    bool Next(std::string& line) {
        if (rest_.empty()) return false;
        size_t end = rest_.find('\n');
        line.assign(rest_.substr(0, end));
        rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
        return true;
    }

private:
    std::string_view rest_;
};
} // namespace

std::string WriteComponent(const std::string& className, const TControl& control) {
    auto design = [&control](int pixels) {
        return std::to_string(ScaleValue(pixels, kDesignPPI, control.CurrentPPI()));
    };
    return std::string(kSignature) + "\n" + className + "\n" + win::ToUtf8(control.Caption()) + "\n" +
           design(control.Width()) + "\n" + design(control.Height()) + "\n";
}

TComponent* ReadComponent(const std::string& bytes, TComponent* owner) {
    // The clipboard block may be padded with zero bytes past the stream's end.
    TLines in(std::string_view(bytes).substr(0, bytes.find('\0')));
    std::string signature, cls, caption, w, h;
    if (!in.Next(signature) || signature != kSignature || !in.Next(cls) || !in.Next(caption) || !in.Next(w) ||
        !in.Next(h))
        throw EReadError(L"Invalid stream format");
    int width = ReadExtent(w), height = ReadExtent(h);
    TControl* c = Construct(cls, owner);
    if (!c) throw EClassNotFound(L"Class " + win::ToWide(cls) + L" not found");
    c->SetCaption(win::ToWide(caption));
    c->SetBounds(0, 0, width, height);
    return c;
}
