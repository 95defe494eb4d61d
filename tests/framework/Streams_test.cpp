#include "framework/ExtCtrls.h"
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

// The size is written at the design density: a control scaled to 150 % is read back, by a copy at any
// scaling, as the control it was laid out as, and scaled again when it goes into a scaled window.
TEST(ComponentStream, SizesTravelAtTheDesignDensity) {
    TComponent owner(nullptr);
    TLabel label(&owner);
    label.SetCaption(L"scaled");
    label.SetBounds(0, 0, 100, 40);
    label.ChangeScale(144);
    ASSERT_EQ(label.Width(), 150);
    const std::string written = WriteComponent("TLabel", label);
    EXPECT_EQ(written, "QUENNEL-COMPONENT 1\nTLabel\nscaled\n100\n40\n");
    auto* read = dynamic_cast<TControl*>(ReadComponent(written, &owner));
    ASSERT_NE(read, nullptr);
    read->ChangeScale(192);
    EXPECT_EQ(read->Width(), 200);
    EXPECT_EQ(read->Height(), 80);
}

} // namespace
