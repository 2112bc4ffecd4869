#pragma once

#include "core/commands/commandline.h"

#include <QString>

class AnswerSheet;
class CommandHost;
class KeywordLookup;
class Navigator;
struct ParsedCommand;

// The link command language: runs command lines against the navigation state,
// the navigation host (opening pages, rebuilding buttons) and the command host
// (lower pane, programs, files).
class CommandInterpreter
{
public:
    // dirIndexStep and historyPath: where the window keeps them (its page opening
    // resets the step); without them the interpreter keeps its own.
    CommandInterpreter(Navigator &navigator, CommandHost &host, int *dirIndexStep = nullptr,
                       QString *historyPath = nullptr);

    // The search window and the answer sheet, once they exist; until then LOOK
    // and ANSWER do nothing.
    void setKeywordLookup(KeywordLookup *lookup) { m_lookup = lookup; }
    void setAnswerSheet(AnswerSheet *sheet) { m_answerSheet = sheet; }

    // Runs the command line of a link address ("/$NEXT"). False when the address
    // is no command line (the navigation then goes on).
    bool runAddress(const QString &address, CommandOrigin origin = CommandOrigin::LocalPage);

    // Runs a line that ends in "," and has lost everything up to its first "$".
    void RunCommandLine(const QString &line, CommandOrigin origin = CommandOrigin::LocalPage);

    // Interprets one command. False when the rest of the line must not run.
    bool TXTcommand(const QString &command, CommandOrigin origin = CommandOrigin::LocalPage);

private:
    int m_ownDirIndexStep = 0;
    QString m_ownHistoryPath;

public:
    // Added to the current index by DIR before the new level is pushed; the page
    // opening sets it to 0, a one-link page to 1.
    int &DirIndexStep;
    // The history file relative to the current folder, without extension.
    QString &HistoryPath;

private:
    void openPage();
    void relistFolder();
    void next();
    void back();
    bool goToName(const QString &name, bool sub);
    void look(const QString &keyword, CommandOrigin origin);
    void answer();
    void enterFolder(const QString &rest);
    void paint(const QString &rest);
    bool save(const ParsedCommand &command);
    bool copy(const ParsedCommand &command);
    void setVariable(const QString &fileName, const QString &expression);
    void selectHistory(const QString &name);
    bool runProgram(const ParsedCommand &command);

    Navigator &m_nav;
    CommandHost &m_host;
    KeywordLookup *m_lookup = nullptr;
    AnswerSheet *m_answerSheet = nullptr;
};
