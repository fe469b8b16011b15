#pragma once
// The results sheet a grown-up asks for with --results=FILE: one CSV row per question,
// appended and flushed as it is written, so a crash loses at most that row. UTF-8 with a
// byte-order mark, so that a spreadsheet shows the Japanese as written.

#include <cstdio>
#include <functional>
#include <string>

#include "game/question_log.h"

class ResultsSheet final : public QuestionLog {
public:
    // Told once, in English and Japanese, when the file cannot be opened or written; the
    // game plays on without the sheet.
    using Complaint = std::function<void(const std::string&)>;

    ResultsSheet(std::string path, Complaint complain);
    ~ResultsSheet() override;
    ResultsSheet(const ResultsSheet&) = delete;
    ResultsSheet& operator=(const ResultsSheet&) = delete;

    void Record(const QuestionResult& result) override;

private:
    bool Write(const std::string& text);
    void GiveUp();

    std::string path_;
    Complaint complain_;
    std::FILE* file_ = nullptr;
};

// One row, without its line end.
std::string ResultsRow(const QuestionResult& result);
