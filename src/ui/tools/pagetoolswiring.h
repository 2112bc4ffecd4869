#pragma once

class MainWindowEditHost;
class TForm1;
class TForm3;

// Puts the page menu into the main window: the edit-menu button beside the
// page buttons, the right press on a page button, and the rows this program
// serves (edit, copy, delete, unlinked files, shortcuts, the folder's help).
void attachPageTools(TForm1 &form1, TForm3 &fileTool, MainWindowEditHost &editor);
