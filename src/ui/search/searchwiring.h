#pragma once

#include "core/commands/keywordlookup.h"

#include <memory>

class MainWindowEditHost;
class TForm1;
class TForm4;

// The LOOK command's keyword search through the search window.
class SearchWindowLookup : public KeywordLookup
{
public:
    SearchWindowLookup(TForm1 &main, TForm4 &window);
    KeywordResult lookUp(const QString &keyword, const QString &excludedPage) override;

private:
    TForm1 &m_main;
    TForm4 &m_window;
};

// Puts the search window into the main window: the LOOK command's search, the
// keyword links of the edit launcher (when there is one) and of the page menu's rows.
// The returned lookup lives as long as the main window.
std::unique_ptr<SearchWindowLookup> attachSearchWindow(TForm1 &form1, TForm4 &form4, MainWindowEditHost *launcher);
