#include "framework/StdCtrls.h"
#include "framework/Streams.h"

#include <gtest/gtest.h>

namespace {

// A stored component comes from other programs: its sizes are plain decimal numbers from 0 to 32767,
// anything else is refused with the read error.
TEST(ComponentStream, SizesAreBoundedDecimalNumbers) {
    auto stream = [](const std::string& w, const std::string& h) {
        return "QUENNEL-COMPONENT 1\nTLabel\ncaption\n" + w + "\n" + h + "\n";
    };
    TComponent owner(nullptr);
    TComponent* c = ReadComponent(stream("32767", "0"), &owner);
    auto* label = dynamic_cast<TControl*>(c);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Width(), 32767);
    EXPECT_EQ(label->Height(), 0);
    for (const char* bad : {"12abc", "-5", "+5", "2e9", "32768", "", " 7", "0x10",
                            "1234567890123456789012345678901234567890"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ReadComponent(stream(bad, "10"), &owner), EReadError);
        EXPECT_THROW(ReadComponent(stream("10", bad), &owner), EReadError);
    }
}

} // namespace
