#pragma once

// Tests on the private CUPS queue as the program's current printer.

#include "private_cups.h"

#include "printer_device.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

/// One scheduler for all tests of the process (the CUPS client library
/// reads the scheduler's address only once), reached through CUPS_SERVER.
/// Each test starts with no output file and the queue as Printer(); it
/// skips where no scheduler can run or Qt does not see the queue.
class PrivateCupsFixture : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    /// A derived SetUp calls this first and returns when IsSkipped().
    void SetUp() override;
    void TearDown() override;

    static inline std::unique_ptr<PrivateCups> cups_;
    static inline std::optional<QString> whyNot_;
    std::unique_ptr<TPrinterDevice> previous_;
};
