// The quiz notation both ways: any text builds a quiz page, and any page reads back
// into notation without hanging.
#include "core/pages/quiz.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    const QString built = BuildQuizHtml(text);
    (void)QuizHtmlToNotation(built);
    (void)QuizHtmlToNotation(text);
    (void)InsertAnswerButton(text);
    return 0;
}
