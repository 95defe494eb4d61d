#include "framework/Classes.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

struct Probe : TComponent {
    Probe(TComponent* owner, std::vector<std::wstring>* log, std::wstring name)
        : TComponent(owner), log_(log) {
        SetName(std::move(name));
    }
    ~Probe() override { log_->push_back(L"destroy " + Name()); }
    void Notification(TComponent* c, TOperation op) override {
        if (op == TOperation::opRemove) log_->push_back(Name() + L" heard removal");
        if (c == watched && op == TOperation::opRemove) watched = nullptr;
    }
    std::vector<std::wstring>* log_;
    TComponent* watched = nullptr;
};

TEST(Component, OwnedComponentsGoWithTheirOwnerAndLeaveItsList) {
    std::vector<std::wstring> log;
    auto* owner = new Probe(nullptr, &log, L"owner");
    auto* a = New<Probe>(owner, &log, L"a");
    New<Probe>(owner, &log, L"b");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent(L"b"), owner->Components(1));
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    log.clear();
    delete owner;
    EXPECT_EQ(log.back(), L"destroy b");
}

TEST(Component, FreeNotificationTellsAnUnrelatedComponentAboutRemoval) {
    std::vector<std::wstring> log;
    Probe watcher(nullptr, &log, L"watcher");
    auto* other = new Probe(nullptr, &log, L"other");
    watcher.watched = other;
    watcher.FreeNotification(other);
    delete other;
    EXPECT_EQ(watcher.watched, nullptr);
    // The request is gone with the component: destroying the watcher later touches nothing dead.
}

TEST(Component, DesignModeIsOffAtRunTime) {
    TComponent c(nullptr);
    EXPECT_FALSE(c.Designing());
    c.SetDesigning(true);
    EXPECT_TRUE(c.Designing());
}

TEST(InOutError, MessagesFollowTheErrorCode) {
    EXPECT_EQ(EInOutError(ERROR_FILE_NOT_FOUND).Message(), L"File not found");
    EXPECT_EQ(EInOutError(ERROR_ACCESS_DENIED).Message(), L"File access denied");
    EXPECT_EQ(EInOutError(ERROR_SHARING_VIOLATION).Message(), L"File access denied");
    EXPECT_EQ(EInOutError(ERROR_DISK_FULL).Message(), L"Disk full");
    EXPECT_EQ(EInOutError(ERROR_INVALID_NAME).Message(), L"Invalid filename");
    EXPECT_EQ(EInOutError(1117).Message(), L"I/O error 1117");
}

} // namespace
