#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Scaling, OneRoundingRuleHalvesAwayFromZeroAndRectanglesByTheirEdges) {
    EXPECT_EQ(ScaleValue(306, 144), 459);
    EXPECT_EQ(ScaleValue(1, 144), 2); // 1.5 rounds up
    EXPECT_EQ(ScaleValue(17, 144), 26);
    EXPECT_EQ(ScaleValue(-3, 144), -5); // and -4.5 down: the same on both sides of zero
    EXPECT_EQ(ScaleValue(30, 120), 38);
    EXPECT_EQ(ScaleValue(11, 96), 11);
    EXPECT_EQ(ScaleValue(26, 96, 144), 17); // back again
    EXPECT_EQ(ScaleValue(7, 192), 14);
    // Two neighbours stay neighbours: the right edge of one is the left edge of the next.
    RECT a = ScaleRect({8, 48, 297, 153}, 144), b = ScaleRect({297, 48, 300, 153}, 144);
    EXPECT_EQ(a.left, 12);
    EXPECT_EQ(a.right, 446);
    EXPECT_EQ(a.bottom, 230);
    EXPECT_EQ(a.right, b.left);
    // Images: the scale nearest the density, ties to the larger.
    for (auto [ppi, scale] : {std::pair{96, 96},
                              {110, 96},
                              {120, 144},
                              {144, 144},
                              {167, 144},
                              {168, 192},
                              {192, 192},
                              {288, 192},
                              {72, 96}})
        EXPECT_EQ(ImageScaleFor(ppi), scale) << ppi;
}

TEST(Scaling, IconsAreLoadedAtTheSizeAskedForTakenAsTheyAreOrShrunk) {
    auto side = [](const win::Icon& icon) { return IconSize(icon.get()).cx; };
    // The program's icon (resource 1) carries 16 to 64; 28 (175 %) is shrunk from the next larger one.
    for (int size : {16, 20, 24, 28, 32, 40, 48, 56, 64})
        EXPECT_EQ(side(LoadIconOfSize(ModuleInstance(), MAKEINTRESOURCEW(1), size)), size) << size;
    EXPECT_EQ(side(LoadIconOfSize(nullptr, IDI_QUESTION, 48)), 48); // a system icon, the caller's own copy
    TIcon icon;
    icon.LoadFromResource(ModuleInstance(), 1, 16);
    TIcon copy;
    copy.Assign(icon); // where it came from goes with it
    EXPECT_TRUE(copy.Reload(24));
    EXPECT_EQ(copy.Size(), 24);
    copy.SetHandle(CopyIcon(icon.Handle()));
    EXPECT_FALSE(copy.Reload(32)); // a handle alone cannot be loaded again
}

struct ScaledForm : ::testing::Test {
    TForm* form = New<TForm>(Application);
    TPanel* whole = New<TPanel>(form);
    TPanel* inner = New<TPanel>(form);
    TLabel* label = New<TLabel>(form);
    TComboBox* combo = New<TComboBox>(form);
    ScaledForm() {
        form->SetBorderStyle(TFormBorderStyle::bsDialog);
        form->SetClientSize(306, 196);
        form->Font().SetHeight(16);
        whole->SetAlign(TAlign::alClient);
        whole->SetParent(form);
        inner->SetBounds(8, 48, 289, 105);
        inner->SetParent(whole);
        label->SetBounds(9, 85, 272, 16);
        label->Font().SetHeight(13); // a font of its own
        label->SetParent(inner);
        combo->SetBounds(10, 10, 100, 21);
        combo->SetParent(whole);
    }
    ~ScaledForm() override { delete form; }
    SIZE Client() {
        RECT r;
        GetClientRect(form->Handle(), &r);
        return {r.right, r.bottom};
    }
};

TEST_F(ScaledForm, EveryLengthIsScaledFromTheLayoutAndBackAgain) {
    form->HandleNeeded();
    const int system = form->CurrentPPI(); // a new window takes its display's density
    EXPECT_EQ(system, WindowPPI(form->Handle()));
    form->ChangeScale(kDesignPPI);
    RECT place;
    GetWindowRect(form->Handle(), &place);

    form->ChangeScale(144);
    EXPECT_EQ(Client().cx, 459);
    EXPECT_EQ(Client().cy, 294);
    RECT now;
    GetWindowRect(form->Handle(), &now);
    EXPECT_EQ(now.left, place.left); // the form keeps its place on the screen
    EXPECT_EQ(now.top, place.top);
    // The aligned panel fills the scaled client area; the others are scaled by their edges.
    EXPECT_EQ(whole->Width(), 459);
    EXPECT_EQ(whole->Height(), 294);
    RECT b = inner->BoundsRect();
    EXPECT_EQ(b.left, 12);
    EXPECT_EQ(b.top, 72);
    EXPECT_EQ(b.right, 446);
    EXPECT_EQ(b.bottom, 230);
    RECT onScreen;
    GetWindowRect(inner->Handle(), &onScreen);
    EXPECT_EQ(onScreen.right - onScreen.left, 434); // the window moved with it
    EXPECT_EQ(label->BoundsRect().left, 14);
    EXPECT_EQ(label->BoundsRect().right, 422);
    EXPECT_EQ(label->Height(), 24);
    // Fonts: the form's own and the label's; a child following its parent's font has the scaled one.
    EXPECT_EQ(form->Font().Height(), 24);
    EXPECT_EQ(label->Font().Height(), 20); // 19.5 rounds up
    EXPECT_TRUE(inner->ParentFont());
    EXPECT_EQ(inner->Font().Height(), 24);
    for (TControl* c : {static_cast<TControl*>(whole), static_cast<TControl*>(inner),
                        static_cast<TControl*>(label), static_cast<TControl*>(combo)})
        EXPECT_EQ(c->CurrentPPI(), 144) << win::ToUtf8(c->Name());
    EXPECT_EQ(inner->Scaled(4), 6);

    // A control put in a scaled parent later is scaled as it goes in.
    auto* late = New<TLabel>(form);
    late->SetBounds(10, 20, 30, 40);
    late->SetParent(inner);
    EXPECT_EQ(late->CurrentPPI(), 144);
    EXPECT_EQ(late->BoundsRect().left, 15);
    EXPECT_EQ(late->BoundsRect().bottom, 90);

    form->ChangeScale(kDesignPPI);
    EXPECT_EQ(Client().cx, 306);
    EXPECT_EQ(Client().cy, 196);
    EXPECT_EQ(inner->BoundsRect().left, 8);
    EXPECT_EQ(inner->BoundsRect().right, 297);
    EXPECT_EQ(label->Font().Height(), 13);
    EXPECT_EQ(form->Font().Height(), 16);
    form->ChangeScale(system);
}

TEST_F(ScaledForm, ADensityChangeTakesTheSuggestedPlaceAndLaysTheFormOutAgain) {
    form->Show();
    form->ChangeScale(kDesignPPI);
    RECT suggested{40, 30, 40 + 500, 30 + 360};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT now;
    GetWindowRect(form->Handle(), &now);
    EXPECT_EQ(now.left, 40);
    EXPECT_EQ(now.top, 30);
    EXPECT_EQ(now.right - now.left, 500);
    EXPECT_EQ(form->CurrentPPI(), 192);
    EXPECT_EQ(inner->BoundsRect().left, 16);
    EXPECT_EQ(inner->Width(), 578);
    EXPECT_EQ(label->Font().Height(), 26);
    form->Hide();
}

TEST(ScaledMessageBox, TheConfirmationIsLaidOutAtTheSystemsDensity) {
    // The box is measured at the density it is shown at: its buttons are the design size scaled.
    RECT yes{}, box{};
    test::WhenWindowAppears(L"Scaled?", [&](HWND w) {
        GetClientRect(w, &box);
        HWND button = FindWindowExW(w, nullptr, L"Button", L"&Yes");
        GetWindowRect(button, &yes);
        PostMessageW(w, WM_CLOSE, 0, 0);
    });
    MessageDlg(L"Shall it be?", L"Scaled?", mtConfirmation, {mbYes, mbNo});
    EXPECT_EQ(yes.right - yes.left, ScaleValue(75, SystemPPI()));
    EXPECT_EQ(yes.bottom - yes.top, ScaleValue(25, SystemPPI()));
    EXPECT_GE(box.right, 2 * ScaleValue(75, SystemPPI()) + ScaleValue(8, SystemPPI()));
}

} // namespace
