// GDI+ for the whole test program, started before the first test and stopped after the last, so every
// image a test loads is deleted while GDI+ still runs.
#include "ui/GdiplusSession.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        session_ = std::make_unique<GdiplusSession>();
        ASSERT_TRUE(session_->started());
    }
    void TearDown() override { session_.reset(); }

private:
    std::unique_ptr<GdiplusSession> session_;
};

[[maybe_unused]] const auto* const registered = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace
