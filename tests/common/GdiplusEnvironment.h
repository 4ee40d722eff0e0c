#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "ui/GdiplusSession.h"

// GDI+ for the whole test program, started before the first test and stopped after the last, so every
// image a test loads is deleted while GDI+ still runs. Including this header in one file of the program
// is enough.
namespace testgdiplus {

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        session_ = std::make_unique<GdiplusSession>();
        ASSERT_TRUE(session_->started());
    }
    void TearDown() override { session_.reset(); }

private:
    std::unique_ptr<GdiplusSession> session_;
};

inline ::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace testgdiplus
