// Dialogs answered from a script: each expected dialog is queued with the
// answer to give. An unexpected dialog, or one that differs from the next
// expected, fails the test; expectations left over are reported by Verify().
#pragma once

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace vantrel::testing {

class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        std::string prompt, title;
        int style;
    };

    // Expects a message box with this title (and, when given, prompt and style); answers with `answer`.
    ScriptedDialogs& ExpectMessage(const std::string& title, int answer = mb::kAnswerOk,
                                   const std::string& prompt = {}, int style = -1) {
        script_.push_back({Kind::Message, title, prompt, style, answer, {}, {}, true});
        return *this;
    }
    // Expects the Open dialog; answers with a chosen file, or a cancel.
    ScriptedDialogs& ExpectOpen(const std::string& fileName, const std::string& fileTitle) {
        script_.push_back({Kind::Open, {}, {}, -1, 0, fileName, fileTitle, true});
        return *this;
    }
    ScriptedDialogs& ExpectOpenCancelled() {
        script_.push_back({Kind::Open, {}, {}, -1, 0, {}, {}, false});
        return *this;
    }

    int MessageBox(const std::string& prompt, const std::string& title, int style) override {
        shown.push_back({prompt, title, style});
        if (script_.empty() || script_.front().kind != Kind::Message) {
            ADD_FAILURE() << "unexpected message box \"" << title << "\": " << prompt;
            return mb::kAnswerNo;
        }
        Step s = script_.front();
        script_.pop_front();
        EXPECT_EQ(s.title, title) << "message: " << prompt;
        if (!s.prompt.empty()) {
            EXPECT_EQ(s.prompt, prompt);
        }
        if (s.style >= 0) {
            EXPECT_EQ(s.style, style) << "message: " << prompt;
        }
        return s.answer;
    }

    bool ShowOpen(std::string* fileName, std::string* fileTitle) override {
        if (script_.empty() || script_.front().kind != Kind::Open) {
            ADD_FAILURE() << "unexpected Open dialog";
            return false;
        }
        Step s = script_.front();
        script_.pop_front();
        if (!s.chosen) return false;
        *fileName = s.fileName;
        *fileTitle = s.fileTitle;
        return true;
    }

    // Fails the test when expected dialogs were never shown.
    void Verify() {
        EXPECT_TRUE(script_.empty()) << script_.size() << " expected dialog(s) not shown";
        script_.clear();
    }
    ~ScriptedDialogs() override { Verify(); }

    std::vector<Shown> shown;

private:
    enum class Kind { Message, Open };
    struct Step {
        Kind kind;
        std::string title, prompt;
        int style, answer;
        std::string fileName, fileTitle;
        bool chosen;
    };
    std::deque<Step> script_;
};

}  // namespace vantrel::testing
