#pragma once

#include <QString>

// The answer sheet of a page, as ANSWER opens it: shown modally for the page,
// appending what the learner enters to the page's answer file.
class AnswerSheet
{
public:
    virtual ~AnswerSheet() = default;
    virtual void showAnswerSheet(const QString &pagePath) = 0;
};
