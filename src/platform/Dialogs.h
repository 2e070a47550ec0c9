#pragma once
#include <QString>
#include <deque>
#include <vector>

// Message boxes: information with OK, questions with Yes/No and the question icon.
class Dialogs {
public:
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };
    virtual ~Dialogs() = default;
    virtual Answer Message(const QString& title, const QString& text, Buttons buttons) = 0;

    void Info(const QString& title, const QString& text) { Message(title, text, Buttons::Ok); }
    bool AskYesNo(const QString& title, const QString& text) {
        return Message(title, text, Buttons::YesNo) == Answer::Yes;
    }
};
