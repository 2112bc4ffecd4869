#pragma once

class TForm1;

// Puts the page menu's rows "ボタン順変更" and "ファイル名をPage(数)に変更" to work.
void attachOrderTools(TForm1 &form1);
