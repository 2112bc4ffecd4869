#include "ui/app/fonts.h"

#include "ui/app/uitexts.h"

#include <QFont>
#include <QStringList>

void installJapaneseFonts()
{
    using namespace UiTexts;
    if (!QFont::substitutes(GothicFont).isEmpty())
        return;
    QFont::insertSubstitution(GothicFont, GothicSubstitute);
    QFont::insertSubstitution(PGothicFont, PGothicSubstitute);
}
