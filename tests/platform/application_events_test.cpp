#include "application_events.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(TApplicationEvents, ActivationReachesTheNewestComponentFirst)
{
    std::vector<int> calls;
    TApplicationEvents first;
    TApplicationEvents second;
    first.OnActivate = [&](TApplicationEvents&) { calls.push_back(1); };
    second.OnActivate = [&](TApplicationEvents& sender) {
        calls.push_back(2);
        sender.OnActivate = nullptr;   // once per process, as the main window does
    };
    TApplicationEvents::Activate();
    TApplicationEvents::Activate();
    EXPECT_EQ(calls, (std::vector<int>{2, 1, 1}));
}

TEST(TApplicationEvents, TheMainFormsFirstShowActivatesOnceWhenThePlatformDoesNot)
{
    TApplicationEvents::ForgetActivation();   // whatever ran before in this process
    int activations = 0;
    auto events = std::make_unique<TApplicationEvents>();
    events->OnActivate = [&](TApplicationEvents&) { ++activations; };
    TApplicationEvents::MainFormShown();
    EXPECT_EQ(activations, 0) << "queued behind the show";
    QCoreApplication::processEvents();
    EXPECT_EQ(activations, 1);

    TApplicationEvents::MainFormShown();
    QCoreApplication::processEvents();
    EXPECT_EQ(activations, 1) << "the application is already active";

    // A component freed by a handler is skipped safely.
    auto doomed = std::make_unique<TApplicationEvents>();
    events->OnActivate = [&](TApplicationEvents&) { doomed.reset(); };
    doomed->OnActivate = [&](TApplicationEvents&) { ++activations; };
    TApplicationEvents::Activate();
    EXPECT_EQ(activations, 2) << "the newer component ran first";
    TApplicationEvents::Activate();
    EXPECT_EQ(activations, 2);
}
