#pragma once

class TForm1;
class TForm10;
class TForm16;
class TForm18;

// Hooks the post window, the answer sheet and the folder-name list into the main
// window: the post button, the file menu's N3, the desk-copy button and ANSWER.
void attachForms(TForm1 &form1, TForm16 &form16, TForm18 &form18, TForm10 &form10);
