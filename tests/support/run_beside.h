#pragma once

#include <utility>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QtConcurrent>

// Runs work on another thread while this one turns the event loop (where a server under test
// answers), until the work has ended, and returns its result. The work ends by itself: the limit
// here only marks a test that has failed.
template <typename Work> auto RunBeside(Work work) {
    auto result = QtConcurrent::run(std::move(work));
    const QDeadlineTimer deadline(60000);
    while (!result.isFinished() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(result.isFinished()) << "the work on the other thread did not end";
    return result.result();
}
