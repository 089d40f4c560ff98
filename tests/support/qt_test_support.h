#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QString>

#include "platform/user_prompts.h"
#include "../qstring_printer.h"

// The application object the widgets and the event loop need; created once per test program.
inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "kelvara_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QApplication(argc, argv);
}

// Runs the event loop until condition holds or timeoutMs pass; returns the condition. The limit
// only ends a wait that has failed, so it is generous: a loaded machine may be slow.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 60000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// WaitUntil for a check: fails, naming what did not happen, when the condition still does not hold
// after timeoutMs. what completes "waited ... for": "the dialog to close".
inline testing::AssertionResult WaitFor(const char* what, const std::function<bool()>& condition,
                                        int timeoutMs = 60000) {
    if (WaitUntil(condition, timeoutMs))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "waited " << timeoutMs / 1000 << " s for " << what << ", in vain";
}

// Records the messages and questions put to the user and answers the questions from a script
// (No when the script is empty). onQuestion runs before the answer is given.
struct FakePrompts : UserPrompts {
    struct Shown {
        QString caption;
        QString text;
        bool question = false;
    };
    std::vector<Shown> shown;
    std::deque<bool> answers;
    std::function<void()> onQuestion;
    std::function<void(QWidget* owner)> onMessage; // runs when a message is shown

    void message(QWidget* owner, const QString& caption, const QString& text) override {
        shown.push_back({caption, text, false});
        if (onMessage)
            onMessage(owner);
    }
    bool question(QWidget*, const QString& caption, const QString& text, bool) override {
        shown.push_back({caption, text, true});
        if (onQuestion)
            onQuestion();
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Answers text-input boxes from texts; an empty script cancels (the default text).
    std::deque<QString> texts;
    QString askText(QWidget*, const QString& title, const QString& prompt,
                    const QString& defaultText) override {
        shown.push_back({title, prompt, true});
        if (texts.empty())
            return defaultText;
        const QString answer = texts.front();
        texts.pop_front();
        return answer;
    }
};
