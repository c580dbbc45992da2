#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Points the user's settings at a temporary folder for one test.
class SheetSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", saved_); }

    QTemporaryDir dir_;
    QByteArray saved_;
};
