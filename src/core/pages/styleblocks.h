#pragma once

#include <QString>
#include <QStringList>

// The CSS block written into the head of every saved page for styles 1 to 4;
// "" for 0 and for numbers outside 0 to 4. Lines are separated by CR LF, with no
// break after the closing marker.
QString BuildStyleBlock(int style);

// The fixed block a brand-new page starts with; only style 1 has one, any other
// number gives "". Every line, the last included, ends with CR LF.
QString StyleBlock(int style);

// The P and TABLE rules every block of the program carries, at one font size;
// paragraphOpen is "P{" (some stored blocks have a trailing blank after it).
QStringList textRules(const QString &fontSize, const QString &paragraphOpen);
