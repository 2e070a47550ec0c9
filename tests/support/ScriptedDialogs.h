#pragma once
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "platform/Dialogs.h"

// Test double: answers Yes/No questions from a script (No once it runs dry)
// and records every box shown.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        QString title, text;
        Buttons buttons;
    };
    std::vector<Shown> shown;
    std::deque<Answer> answers;
    // Runs as each box comes up, to look at the windows behind it.
    std::function<void()> onMessage;
    Answer Message(const QString& title, const QString& text, Buttons buttons) override {
        shown.push_back({title, text, buttons});
        if (onMessage) onMessage();
        if (buttons == Buttons::Ok) return Answer::Ok;
        if (answers.empty()) return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};
