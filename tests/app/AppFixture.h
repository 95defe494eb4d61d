// The program's five windows, made as the program makes them, with the shell seam recording.
#pragma once

#include "app/comunit.h"
#include "app/dtunit.h"
#include "app/infounit.h"
#include "app/mainunit.h"
#include "app/pmunit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

struct AppFixture : ::testing::Test {
    test::RecordingShell shell;
    AppFixture() {
        // Not through CreateForm: the test program's main form would end the test run when closed.
        mainform = New<Tmainform>(Application);
        pmform = New<Tpmform>(Application);
        commandform = New<Tcommandform>(Application);
        DTForm = New<TDTForm>(Application);
        infoform = New<Tinfoform>(Application);
    }
    ~AppFixture() override {
        delete infoform;
        delete DTForm;
        delete commandform;
        delete pmform;
        delete mainform;
        infoform = nullptr;
        DTForm = nullptr;
        commandform = nullptr;
        pmform = nullptr;
        mainform = nullptr;
    }
};
