// Dialogs answered from a script: each expected dialog is queued with the
// answer to give. An unexpected dialog, or one that differs from the next
// expected, fails the test; expectations left over are reported by Verify().
#pragma once

#include <deque>
#include <functional>
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
    // Expects a file chooser (open or save) or the folder chooser; answers
    // with the path, or a cancel when `chosen` is false.
    ScriptedDialogs& ExpectFileToOpen(const std::string& path, bool chosen = true) {
        script_.push_back({Kind::ChooseOpen, {}, {}, -1, 0, path, {}, chosen});
        return *this;
    }
    ScriptedDialogs& ExpectFileToSave(const std::string& path, bool chosen = true) {
        script_.push_back({Kind::ChooseSave, {}, {}, -1, 0, path, {}, chosen});
        return *this;
    }
    ScriptedDialogs& ExpectFolder(const std::string& folder, bool chosen = true) {
        script_.push_back({Kind::ChooseFolder, {}, {}, -1, 0, folder, {}, chosen});
        return *this;
    }
    // Expects a review list with this title; answers with its act button or its close button.
    ScriptedDialogs& ExpectReview(const std::string& title, bool act) {
        script_.push_back({Kind::Review, title, {}, -1, 0, {}, {}, act});
        return *this;
    }

    // Expects an export choice; `answer` changes it as the user would, then
    // the act button (or, when act is false, the other) is pressed.
    ScriptedDialogs& ExpectExportChoice(std::function<void(ExportChoice&)> answer, bool act = true) {
        script_.push_back({Kind::Export, {}, {}, -1, 0, {}, {}, act, std::move(answer)});
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

    bool ChooseFileToOpen(const FileChoice& choice, std::string* path) override {
        choices.push_back(choice);
        return Choose(Kind::ChooseOpen, "file chooser (open)", path);
    }
    bool ChooseFileToSave(const FileChoice& choice, std::string* path) override {
        choices.push_back(choice);
        return Choose(Kind::ChooseSave, "file chooser (save)", path);
    }
    bool ChooseFolder(const std::string& prompt, std::string* folder) override {
        shown.push_back({prompt, "folder chooser", -1});
        return Choose(Kind::ChooseFolder, "folder chooser", folder);
    }
    bool ShowReviewList(const ReviewList& list) override {
        reviews.push_back(list);
        if (script_.empty() || script_.front().kind != Kind::Review) {
            ADD_FAILURE() << "unexpected review list \"" << list.title << "\"";
            return false;
        }
        Step s = script_.front();
        script_.pop_front();
        EXPECT_EQ(s.title, list.title);
        return s.chosen;
    }

    bool ChooseExport(ExportChoice& choice) override {
        exportChoices.push_back(choice);
        if (script_.empty() || script_.front().kind != Kind::Export) {
            ADD_FAILURE() << "unexpected export choice \"" << choice.list.title << "\"";
            return false;
        }
        Step s = script_.front();
        script_.pop_front();
        if (!s.chosen) return false;
        if (s.answer_) s.answer_(choice);
        return true;
    }

    // Fails the test when expected dialogs were never shown.
    void Verify() {
        EXPECT_TRUE(script_.empty()) << script_.size() << " expected dialog(s) not shown";
        script_.clear();
    }
    ~ScriptedDialogs() override { Verify(); }

    std::vector<Shown> shown;
    std::vector<FileChoice> choices;  // what each file chooser was given
    std::vector<ReviewList> reviews;  // every review list shown
    std::vector<ExportChoice> exportChoices;  // every export choice, as shown

private:
    enum class Kind { Message, Open, ChooseOpen, ChooseSave, ChooseFolder, Review, Export };
    bool Choose(Kind kind, const char* what, std::string* path) {
        if (script_.empty() || script_.front().kind != kind) {
            ADD_FAILURE() << "unexpected " << what;
            return false;
        }
        Step s = script_.front();
        script_.pop_front();
        if (!s.chosen) return false;
        *path = s.fileName;
        return true;
    }
    struct Step {
        Kind kind;
        std::string title, prompt;
        int style, answer;
        std::string fileName, fileTitle;
        bool chosen;
        std::function<void(ExportChoice&)> answer_ = {};
    };
    std::deque<Step> script_;
};

}  // namespace vantrel::testing
