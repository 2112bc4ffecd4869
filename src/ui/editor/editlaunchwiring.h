#pragma once

#include <memory>

class MainWindowEditHost;
class TForm1;
class TForm2;

// Puts the editor's ways into the main window: the edit button "ページの編集"
// beside the page buttons and the menu "新規ページ作成" with "上に作成" and
// "下に作成". The returned launcher lives as long as the main window.
std::unique_ptr<MainWindowEditHost> attachEditLauncher(TForm1 &form1, TForm2 &editor);
