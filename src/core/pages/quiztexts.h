#pragma once

#include <QString>

// The fixed texts of quiz and answer pages. Pages already on the shared folder hold
// them and the reader removes them by their markers, so they stay byte for byte.
namespace QuizTexts {
QString scriptStart();     // S1
QString checkFunctions();  // S2
QString buttons();         // S3
QString jumpFunction();    // S4
QString rightSection();    // S5
QString tryAgainSection(); // S6
QString wrongSection();    // S7
QString nextButton();      // S8
QString answerBlock();
} // namespace QuizTexts
