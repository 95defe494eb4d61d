// Test programs run with the application object in place, as the program does.
#include "framework/Forms.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TApplication app;
    app.SetTitle(L"Quennel");
    return RUN_ALL_TESTS();
}
