// Test programs run with the application object in place, as the program does.
#include "framework/Forms.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TApplication app;
    app.SetTitle(L"Quennel");
    // An error box would wait for a click that never comes: report unexpected errors as failures.
    app.OnException = [](const std::wstring& message) {
        ADD_FAILURE() << "unexpected error: " << win::ToUtf8(message);
    };
    return RUN_ALL_TESTS();
}
