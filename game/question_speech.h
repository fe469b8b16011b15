#pragma once
// Reading the question aloud, for a child who cannot read it yet. The game says when a
// question is to be read; how it is read, and whether at all, is the program's business.

#include <string>

#include "game/practice.h"
#include "platform/text_encoding.h"

struct SpokenQuestion {
    int quizMode = 0;  // as held in CFizmoView::m_nQuizMode
    Operands operands;
    std::string text;  // a word problem's lines as one line, in `encoding`
    TextEncoding encoding = TextEncoding::ShiftJis;
    std::string problemFile;  // the word problems' file, in the file system's encoding
};

class QuestionSpeech {
public:
    virtual ~QuestionSpeech() = default;
    // A question appeared, or the child asked to hear it again.
    virtual void Say(const SpokenQuestion& question) = 0;
    // Play stopped or ended: what is being read no longer stands on the screen.
    virtual void Hush() = 0;
};
